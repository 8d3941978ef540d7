#include "interruption.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

namespace spectrafil {

namespace {

std::mutex registryMutex;
std::atomic<bool> interrupted{false};
pthread_t watcher;

// Never destroyed: a signal may come while the process is already running its exit handlers.
QStringList& registeredFolders()
{
    static auto* folders = new QStringList;
    return *folders;
}

// A signal the tool was started ignoring (nohup, a background job of a script) stays ignored.
sigset_t stopSignals()
{
    sigset_t stopSet;
    sigemptyset(&stopSet);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        struct sigaction action;
        if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler != SIG_IGN)
            sigaddset(&stopSet, signal);
    }
    return stopSet;
}

// The working thread goes on while its files disappear, and would report every one it misses:
// its standard output and error go to /dev/null. Returns the terminal's error stream for the
// watcher's own last word.
int silenceWorkingThread()
{
    const int console = dup(STDERR_FILENO);
    const int sink = open("/dev/null", O_WRONLY);
    if (sink >= 0) {
        dup2(sink, STDOUT_FILENO);
        dup2(sink, STDERR_FILENO);
        close(sink);
    }
    return console;
}

// A file the working thread makes meanwhile fails the removal; it is repeated until the folder
// is gone (nothing makes these folders again).
void removeFolder(const QString& path)
{
    for (int attempt = 0; attempt < 10 && QFileInfo::exists(path); ++attempt)
        QDir(path).removeRecursively();
}

// Dies of the signal, so that a shell or script sees the run as interrupted, not as failed.
[[noreturn]] void endBySignal(int signal)
{
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal);
}

void watch(sigset_t stopSet)
{
    int signal = 0;
    if (sigwait(&stopSet, &signal) != 0)
        return;
    interrupted = true;
    const int console = silenceWorkingThread();
    QStringList folders;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        folders = registeredFolders();
    }
    for (const QString& folder : folders)
        removeFolder(folder);
    if (console >= 0)
        dprintf(console, "\nspectrafil: interrupted; unfinished files removed\n");
    endBySignal(signal);
}

// A closed pipe (`spectrafil ... | head -1`) raises SIGPIPE in the thread that wrote, not in the
// process, so the watcher's sigwait cannot take it there: that thread hands it on.
extern "C" void handOnBrokenPipe(int)
{
    pthread_kill(watcher, SIGPIPE);
}

void forwardBrokenPipes()
{
    struct sigaction action = {};
    action.sa_handler = handOnBrokenPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGPIPE, &action, nullptr);
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_UNBLOCK, &brokenPipe, nullptr);
}

} // namespace

void watchForInterruption()
{
    const sigset_t stopSet = stopSignals();
    if (sigisemptyset(&stopSet))
        return;
    pthread_sigmask(SIG_BLOCK, &stopSet, nullptr);
    std::thread thread(watch, stopSet);
    watcher = thread.native_handle();
    thread.detach();
    if (sigismember(&stopSet, SIGPIPE))
        forwardBrokenPipes();
}

int exitStatusUnlessInterrupted(int status)
{
    while (interrupted)
        pause(); // until the watcher ends the process
    return status;
}

TemporaryFolder::TemporaryFolder(const QString& pattern)
    : QTemporaryDir(pattern)
{
    if (!isValid())
        return;
    std::lock_guard<std::mutex> lock(registryMutex);
    registeredFolders().append(path());
}

// The folder goes first: a signal in between then finds nothing left to remove.
TemporaryFolder::~TemporaryFolder()
{
    if (!isValid())
        return;
    const QString folder = path();
    remove();
    std::lock_guard<std::mutex> lock(registryMutex);
    registeredFolders().removeOne(folder);
}

} // namespace spectrafil
