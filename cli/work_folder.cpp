#include "work_folder.h"

#include <ISettings.h>

#include <QDir>
#include <QFileInfo>

namespace spectrafil {

WorkFolder::WorkFolder(const QString& keep)
{
    if (keep.isEmpty()) {
        // Qt gives an empty temporary path when TMPDIR names a missing folder; the pattern would
        // then make the folder in the file system's root.
        const QString base = QDir::tempPath();
        if (!base.isEmpty())
            temporary_ = std::make_unique<TemporaryFolder>(base + QStringLiteral("/spectrafil-work-XXXXXX"));
        path_ = temporary_ && temporary_->isValid() ? temporary_->path() : QString();
    } else {
        path_ = QFileInfo(keep).absoluteFilePath();
        QDir().mkpath(path_);
    }
    Tavorin::ISettings::setTempDir(path_);
}

WorkFolder::~WorkFolder() { Tavorin::ISettings::setTempDir(QString()); }

bool WorkFolder::ready(QString& error) const
{
    const QFileInfo folder(path_);
    if (!path_.isEmpty() && folder.isDir() && folder.isWritable())
        return true;
    const QString base = QDir::tempPath().isEmpty() ? qEnvironmentVariable("TMPDIR") : QDir::tempPath();
    error = path_.isEmpty() ? QStringLiteral("cannot make a temporary work folder in %1").arg(base)
                            : QStringLiteral("%1: cannot be used as work folder").arg(path_);
    return false;
}

} // namespace spectrafil
