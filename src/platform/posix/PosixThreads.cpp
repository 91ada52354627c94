#include "platform/JobQueue.h"
#include "platform/Threads.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace sw {

void RunJobs(int count, int threads, const std::function<void(int)>& job) {
    TJobQueue queue(count, job);
    const int workers = std::clamp(threads, 1, std::max(count, 1));
    std::vector<std::thread> pool;
    for (int i = 1; i < workers; ++i)
        pool.emplace_back([&queue] { queue.Work(); });
    queue.Work();
    for (std::thread& t : pool)
        t.join();
    queue.RaiseFirstError();
}

int ProcessorCount() { return std::max(1u, std::thread::hardware_concurrency()); }

struct TLock::TState {
    std::mutex Mutex;
};

TLock::TLock() : state_(std::make_unique<TState>()) {}
TLock::~TLock() = default;
void TLock::Enter() { state_->Mutex.lock(); }
void TLock::Leave() { state_->Mutex.unlock(); }

struct TSignal::TState {
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Given = false;
};

TSignal::TSignal() : state_(std::make_unique<TState>()) {}
TSignal::~TSignal() = default;

void TSignal::Give() {
    {
        std::lock_guard<std::mutex> hold(state_->Mutex);
        state_->Given = true;
    }
    state_->Changed.notify_one();
}

void TSignal::Wait() {
    std::unique_lock<std::mutex> hold(state_->Mutex);
    state_->Changed.wait(hold, [this] { return state_->Given; });
    state_->Given = false;
}

struct TThread::TState {
    std::thread Thread;
};

TThread::TThread(std::function<void()> body) : state_(std::make_unique<TState>()) {
    try {
        state_->Thread = std::thread(std::move(body));
    } catch (const std::system_error&) {
        // No thread: Started() tells.
    }
}

TThread::~TThread() {
    if (state_->Thread.joinable())
        state_->Thread.join();
}

bool TThread::Started() const { return state_->Thread.joinable(); }

} // namespace sw
