#pragma once
// A run stopped by Ctrl-C, a closed terminal or pipe, or `kill` leaves nothing behind. The engine cannot
// stop part way, so a watcher thread takes those signals, removes every TemporaryFolder that
// exists (the hidden staging folders beside the outputs, the temporary work folder whose spectrum
// file may be gigabytes) and then ends the process as the signal would have.

#include <QString>
#include <QTemporaryDir>

namespace spectrafil {

// Call first in main, before any other thread exists, so that only the watcher takes the signals.
void watchForInterruption();
// What main returns: the run's status, unless an interruption is under way; the process then ends
// by the watcher, with the signal.
int exitStatusUnlessInterrupted(int status);

// A temporary folder, removed with all it holds at the end of its life or when the run is interrupted.
class TemporaryFolder : public QTemporaryDir {
public:
    explicit TemporaryFolder(const QString& pattern);
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
};

} // namespace spectrafil
