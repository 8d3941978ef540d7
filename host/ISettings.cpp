#include "ISettings.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace Tavorin {

namespace {

QString& chosenTempDir()
{
    static QString path;
    return path;
}

QString processTempDir()
{
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir || !dir->isValid() || !QDir(dir->path()).exists())
        dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tavorin-project-XXXXXX"));
    return dir->isValid() ? dir->path() : QDir::tempPath();
}

} // namespace

QString ISettings::getTempDir()
{
    const QString& chosen = chosenTempDir();
    if (chosen.isEmpty())
        return processTempDir();
    // Creation may fail (no rights); callers check the folder is usable before they write there.
    QDir().mkpath(chosen);
    return chosen;
}

void ISettings::setTempDir(const QString& path)
{
    chosenTempDir() = path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
}

} // namespace Tavorin
