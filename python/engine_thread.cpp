#include "engine_thread.h"

#include <future>

namespace spectrafil {

EngineThread::EngineThread()
    : thread_([this] { serve(); })
{
}

EngineThread::~EngineThread()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    queued_.notify_one();
    thread_.join();
}

void EngineThread::run(const std::function<void()>& job)
{
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back([&job, &done] {
            job();
            done.set_value();
        });
    }
    queued_.notify_one();
    finished.wait();
}

void EngineThread::serve()
{
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            queued_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty())
                return;
            job = std::move(jobs_.front());
            jobs_.pop_front();
        }
        job();
    }
}

} // namespace spectrafil
