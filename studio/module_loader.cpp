#include "module_loader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLibrary>

namespace spectrafil {
namespace {

using ModuleEntry = void (*)(const char**);

// A host loads a module once; a second window of the same process gets the first load's result.
QHash<QString, ModuleLoad>& loadedModules()
{
    static QHash<QString, ModuleLoad> loaded;
    return loaded;
}

QString firstExisting(const QStringList& candidates)
{
    for (const QString& candidate : candidates)
        if (QFileInfo(candidate).isFile())
            return candidate;
    return QString();
}

} // namespace

QStringList moduleCandidates()
{
    const QString file = QStringLiteral(SPECTRAFIL_MODULE_FILE_NAME);
    const QDir here(QCoreApplication::applicationDirPath());
    QStringList candidates{here.filePath(file), here.filePath(QStringLiteral("../lib/") + file),
                           here.filePath(QStringLiteral("../" SPECTRAFIL_INSTALL_LIBDIR "/") + file),
                           QStringLiteral(SPECTRAFIL_MODULE_BUILD_PATH), QStringLiteral(SPECTRAFIL_MODULE_INSTALL_PATH)};
    for (QString& candidate : candidates)
        candidate = QDir::cleanPath(candidate);
    candidates.removeDuplicates();
    return candidates;
}

ModuleLoad loadModule(const QString& path)
{
    ModuleLoad result;
    result.path = path.isEmpty() ? firstExisting(moduleCandidates()) : path;
    if (result.path.isEmpty()) {
        result.message = QStringLiteral("The Spectrafil module was not found, so no filters are offered. Looked for:\n%1")
                             .arg(moduleCandidates().join(QLatin1Char('\n')));
        return result;
    }
    const QString key = QFileInfo(result.path).canonicalFilePath();
    const auto earlier = loadedModules().constFind(key);
    if (!key.isEmpty() && earlier != loadedModules().constEnd())
        return *earlier;
    QLibrary library(result.path);
    if (!library.load()) {
        result.message = QStringLiteral("Cannot load the Spectrafil module %1, so no filters are offered: %2")
                              .arg(result.path, library.errorString());
        return result;
    }
    const auto entry = reinterpret_cast<ModuleEntry>(library.resolve("TavorinModuleV1"));
    if (!entry) {
        library.unload();
        result.message = QStringLiteral("%1 is not a Tavorin module: it has no entry point TavorinModuleV1, so no "
                                        "filters are offered.")
                             .arg(result.path);
        return result;
    }
    const char* name = nullptr;
    entry(&name);
    result.loaded = true;
    result.moduleName = name ? QString::fromUtf8(name) : QString();
    result.message = name ? QStringLiteral("Loaded module %1 from %2.").arg(result.moduleName, result.path)
                          : QStringLiteral("Loaded %1, but preview features are off, so it offers no filters "
                                           "(turn them on under Settings and restart).")
                                .arg(result.path);
    loadedModules().insert(key, result);
    return result;
}

} // namespace spectrafil
