// The shared part of RunJobs: hands out job indices and keeps the first
// exception. Each backend only starts and joins the threads.
#pragma once

#include <atomic>
#include <exception>
#include <functional>

namespace sw {

class TJobQueue {
  public:
    TJobQueue(int count, const std::function<void(int)>& job) : count_(count), job_(job) {}

    // The body of every worker thread.
    void Work() {
        for (int i = next_++; i < count_; i = next_++) {
            try {
                job_(i);
            } catch (...) {
                if (!failed_.exchange(true))
                    error_ = std::current_exception();
                next_ = count_;
            }
        }
    }

    // After all workers ended.
    void RaiseFirstError() const {
        if (error_)
            std::rethrow_exception(error_);
    }

  private:
    const int count_;
    const std::function<void(int)>& job_;
    std::atomic<int> next_{0};
    std::atomic<bool> failed_{false};
    std::exception_ptr error_;
};

} // namespace sw
