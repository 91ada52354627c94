// Worker threads for work that divides into independent jobs (compressing
// files side by side) or runs ahead of the GUI thread (inflating the entries
// an install will extract next). Everything else runs on the GUI thread.
#pragma once

#include <functional>
#include <memory>

namespace sw {

// Calls job(0) .. job(count - 1), each once, on up to `threads` worker
// threads (at least one) and returns when all have ended. The first
// exception a job raises is raised again here, after every thread ended.
void RunJobs(int count, int threads, const std::function<void(int)>& job);

// The number of processors, at least 1.
int ProcessorCount();

// A lock over data that threads share.
class TLock {
  public:
    TLock();
    ~TLock();
    TLock(const TLock&) = delete;
    TLock& operator=(const TLock&) = delete;
    void Enter();
    void Leave();

  private:
    struct TState;
    std::unique_ptr<TState> state_;
};

// Holds a lock for a scope.
class TLocked {
  public:
    explicit TLocked(TLock& lock) : lock_(lock) { lock_.Enter(); }
    ~TLocked() { lock_.Leave(); }
    TLocked(const TLocked&) = delete;
    TLocked& operator=(const TLocked&) = delete;

  private:
    TLock& lock_;
};

// A wake-up that one thread gives and one waits for. Given while nobody
// waits, it is kept for the next Wait; given twice, it wakes once. A waiter
// checks again, under its lock, what it waits for.
class TSignal {
  public:
    TSignal();
    ~TSignal();
    TSignal(const TSignal&) = delete;
    TSignal& operator=(const TSignal&) = delete;
    void Give();
    void Wait();

  private:
    struct TState;
    std::unique_ptr<TState> state_;
};

// A thread that runs `body`, which must not throw; the destructor waits for
// it to end. Without a thread (the system refused one) Started() is false
// and `body` never runs.
class TThread {
  public:
    explicit TThread(std::function<void()> body);
    ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    bool Started() const;

  private:
    struct TState;
    std::unique_ptr<TState> state_;
};

} // namespace sw
