#pragma once
// The folder where the grid operations keep their control file, engine logs and spectrum file:
// the one the user named (kept afterwards), or a fresh temporary one removed at the end.

#include "interruption.h"

#include <QString>

#include <memory>

namespace spectrafil {

class WorkFolder {
public:
    // keep: the folder to use and keep; empty for a temporary one. Made the host's temporary folder.
    explicit WorkFolder(const QString& keep);
    ~WorkFolder();

    bool ready(QString& error) const;
    QString path() const { return path_; }

private:
    std::unique_ptr<TemporaryFolder> temporary_;
    QString path_;
};

} // namespace spectrafil
