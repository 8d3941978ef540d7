#pragma once
// An output file that appears whole or not at all. It is first written into a hidden staging
// folder beside its final place (same file system), together with any side files its format
// makes (.prj, .aux.xml); commit() then renames them into place, the main file last. Without
// commit the staging folder and everything in it are removed, so a failed or interrupted run
// leaves nothing.

#include "interruption.h"

#include <QString>

#include <memory>

namespace spectrafil {

class StagedOutput {
public:
    explicit StagedOutput(const QString& finalPath);

    // False with a message when the final folder cannot take new files.
    bool ready(QString& error) const;
    QString stagedPath() const;
    QString finalPath() const { return final_; }
    // text with the staging folder's path put back to the final folder's: messages never show the
    // hidden folder.
    QString inFinalPlace(QString text) const;
    bool commit(QString& error);

private:
    QString final_;
    std::unique_ptr<TemporaryFolder> staging_;
};

} // namespace spectrafil
