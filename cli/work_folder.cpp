#include "work_folder.h"

#include <ISettings.h>

#include <QDir>
#include <QFileInfo>

namespace spectrafil {

WorkFolder::WorkFolder(const QString& keep)
{
    if (keep.isEmpty()) {
        temporary_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/spectrafil-work-XXXXXX"));
        path_ = temporary_->isValid() ? temporary_->path() : QString();
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
    error = path_.isEmpty() ? QStringLiteral("cannot make a temporary work folder in %1").arg(QDir::tempPath())
                            : QStringLiteral("%1: cannot be used as work folder").arg(path_);
    return false;
}

} // namespace spectrafil
