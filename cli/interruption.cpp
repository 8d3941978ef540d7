#include "interruption.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <mutex>
#include <thread>

namespace spectrafil {

namespace {

std::mutex registryMutex;
QStringList registeredFolders;

// A signal the tool was started ignoring (nohup, a background job of a script) stays ignored.
sigset_t stopSignals()
{
    sigset_t stopSet;
    sigemptyset(&stopSet);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction action;
        if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler != SIG_IGN)
            sigaddset(&stopSet, signal);
    }
    return stopSet;
}

// The working thread goes on while a folder is emptied, and a file it makes meanwhile fails the
// removal; it is repeated until the folder is gone (nothing makes these folders again).
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
    QStringList folders;
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        folders = registeredFolders;
    }
    for (const QString& folder : folders)
        removeFolder(folder);
    std::fprintf(stderr, "\nspectrafil: interrupted; unfinished files removed\n");
    endBySignal(signal);
}

} // namespace

void watchForInterruption()
{
    const sigset_t stopSet = stopSignals();
    if (sigisemptyset(&stopSet))
        return;
    pthread_sigmask(SIG_BLOCK, &stopSet, nullptr);
    std::thread(watch, stopSet).detach();
}

void removeOnInterruption(const QString& folder)
{
    std::lock_guard<std::mutex> lock(registryMutex);
    registeredFolders.append(folder);
}

void keepOnInterruption(const QString& folder)
{
    std::lock_guard<std::mutex> lock(registryMutex);
    registeredFolders.removeOne(folder);
}

} // namespace spectrafil
