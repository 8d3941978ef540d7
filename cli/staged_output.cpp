#include "staged_output.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace spectrafil {

StagedOutput::StagedOutput(const QString& finalPath)
    : final_(QFileInfo(finalPath).absoluteFilePath())
    , staging_(std::make_unique<TemporaryFolder>(QFileInfo(final_).absolutePath() + QStringLiteral("/.spectrafil-XXXXXX")))
{
}

bool StagedOutput::ready(QString& error) const
{
    if (staging_->isValid())
        return true;
    error = QStringLiteral("cannot write in folder %1 (%2)").arg(QFileInfo(final_).absolutePath(), staging_->errorString());
    return false;
}

QString StagedOutput::stagedPath() const { return staging_->filePath(QFileInfo(final_).fileName()); }

QString StagedOutput::inFinalPlace(QString text) const
{
    if (!staging_->isValid())
        return text;
    return text.replace(staging_->path(), QFileInfo(final_).absolutePath());
}

bool StagedOutput::commit(QString& error)
{
    if (!ready(error))
        return false;
    const QString mainName = QFileInfo(final_).fileName();
    QStringList names = QDir(staging_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    if (!names.removeOne(mainName)) {
        error = QStringLiteral("%1: nothing was written").arg(final_);
        return false;
    }
    names.append(mainName);
    const QString folder = QFileInfo(final_).absolutePath();
    for (const QString& name : names) {
        const QByteArray from = QFile::encodeName(staging_->filePath(name));
        const QByteArray to = QFile::encodeName(QDir(folder).filePath(name));
        if (std::rename(from.constData(), to.constData()) != 0) {
            error = QStringLiteral("%1: cannot move into place (%2)").arg(QString::fromLocal8Bit(to), QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
    }
    return true;
}

} // namespace spectrafil
