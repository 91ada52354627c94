// What the user does in a Wine test, one step at each tick of a thread timer,
// so that each runs inside whatever modal loop is running then.
#pragma once

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <deque>
#include <exception>
#include <functional>
#include <utility>

namespace sw::test {

class TUserScript {
  public:
    // `ready` holds the steps back until it answers true; `stuck` runs when the
    // steps have run out and twenty more ticks have passed.
    explicit TUserScript(std::deque<std::function<void()>> steps, UINT intervalMs = 150,
                         std::function<bool()> ready = {}, std::function<void()> stuck = {})
        : steps_(std::move(steps)), ready_(std::move(ready)), stuck_(std::move(stuck)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, intervalMs, &Tick);
    }
    ~TUserScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    TUserScript(const TUserScript&) = delete;
    TUserScript& operator=(const TUserScript&) = delete;
    size_t Left() const { return steps_.size(); }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TUserScript* script = current_;
        // A step's own key presses run messages, and so ticks, again.
        if (!script || script->busy_ || (script->ready_ && !script->ready_()))
            return;
        if (script->steps_.empty()) {
            if (++script->idle_ == 20 && script->stuck_)
                script->stuck_();
            return;
        }
        script->busy_ = true;
        std::function<void()> step = std::move(script->steps_.front());
        script->steps_.pop_front();
        try {
            step();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "a step failed: " << e.what();
        }
        script->busy_ = false;
    }

    static inline TUserScript* current_ = nullptr;
    std::deque<std::function<void()>> steps_;
    std::function<bool()> ready_;
    std::function<void()> stuck_;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
    int idle_ = 0;
};

} // namespace sw::test
