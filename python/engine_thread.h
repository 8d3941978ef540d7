#pragma once
// The one thread that runs every filter call of the Python module. The engine keeps process-wide
// state and fixed file names, and the host's objects belong to the thread that made them, so calls
// from any number of Python threads queue here and run one after the other.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace spectrafil {

class EngineThread {
public:
    EngineThread();
    ~EngineThread();
    EngineThread(const EngineThread&) = delete;
    EngineThread& operator=(const EngineThread&) = delete;

    // Runs job on the engine thread and returns once it is done. job must not throw.
    void run(const std::function<void()>& job);

private:
    void serve();

    std::mutex mutex_;
    std::condition_variable queued_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace spectrafil
