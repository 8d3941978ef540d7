#pragma once
// The tool's conversation on the terminal: the host log and progress on standard error, results on
// standard output. The engine prints its diagnostics on standard output too; while it runs they
// go to a file in the work folder instead, so standard output carries only what the tool reports.

#include <QString>

namespace spectrafil {

// Errors and warnings of the host log always, information entries only when verbose.
void reportHostLog(bool verbose);
// A one-line progress bar on standard error, only when it is a terminal.
void reportProgress(bool enabled);
// "spectrafil: error: text" on standard error.
void printError(const QString& text);
// "spectrafil: warning: text" on standard error.
void printWarning(const QString& text);
// text, as it is, on standard error: what the tool assumed, for the user to see.
void printNote(const QString& text);

class StdoutToFile {
public:
    explicit StdoutToFile(const QString& path);
    ~StdoutToFile();
    StdoutToFile(const StdoutToFile&) = delete;
    StdoutToFile& operator=(const StdoutToFile&) = delete;

private:
    int saved_ = -1;
};

} // namespace spectrafil
