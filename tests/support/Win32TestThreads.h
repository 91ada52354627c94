// GoogleTest's headers use std::mutex and std::condition_variable on Windows,
// which the win32-threads MinGW runtime of the shipped programs does not have.
// The win32 build force-includes these stand-ins into GoogleTest and the test
// programs only. They serve GoogleTest's own bookkeeping: our tests run on one
// thread, so a spinning mutex and a polling condition are enough.
#pragma once

#include <atomic>
#include <mutex>

#if defined(_WIN32) && !defined(_GLIBCXX_HAS_GTHREADS)

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

namespace std {

class mutex {
  public:
    constexpr mutex() noexcept = default;
    mutex(const mutex&) = delete;
    mutex& operator=(const mutex&) = delete;

    void lock() {
        while (held_.test_and_set(memory_order_acquire))
            ::Sleep(0);
    }
    bool try_lock() { return !held_.test_and_set(memory_order_acquire); }
    void unlock() { held_.clear(memory_order_release); }

  private:
    atomic_flag held_ = ATOMIC_FLAG_INIT;
};

class condition_variable {
  public:
    void notify_one() noexcept {}
    void notify_all() noexcept {}
    // Lets other threads take the lock for a moment; callers recheck.
    void wait(unique_lock<mutex>& lock) {
        lock.unlock();
        ::Sleep(1);
        lock.lock();
    }
    template <class Predicate> void wait(unique_lock<mutex>& lock, Predicate ready) {
        while (!ready())
            wait(lock);
    }
};

} // namespace std

#endif
