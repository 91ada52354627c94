#include "platform/JobQueue.h"
#include "platform/Threads.h"
#include "platform/win32/Win32Api.h"

#include <algorithm>
#include <vector>

namespace sw {

namespace {
DWORD WINAPI Worker(LPVOID queue) {
    static_cast<TJobQueue*>(queue)->Work();
    return 0;
}

DWORD WINAPI Body(LPVOID body) {
    (*static_cast<std::function<void()>*>(body))();
    return 0;
}
} // namespace

void RunJobs(int count, int threads, const std::function<void(int)>& job) {
    TJobQueue queue(count, job);
    const int workers = std::clamp(threads, 1, std::max(count, 1));
    std::vector<HANDLE> pool;
    for (int i = 1; i < workers; ++i) {
        DWORD id = 0;
        // Without a thread the calling one does the work alone.
        if (HANDLE h = CreateThread(nullptr, 0, Worker, &queue, 0, &id))
            pool.push_back(h);
    }
    queue.Work();
    for (HANDLE h : pool) {
        WaitForSingleObject(h, INFINITE);
        CloseHandle(h);
    }
    queue.RaiseFirstError();
}

int ProcessorCount() {
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    return std::max<int>(1, static_cast<int>(info.dwNumberOfProcessors));
}

struct TLock::TState {
    CRITICAL_SECTION Section;
};

TLock::TLock() : state_(std::make_unique<TState>()) { InitializeCriticalSection(&state_->Section); }
TLock::~TLock() { DeleteCriticalSection(&state_->Section); }
void TLock::Enter() { EnterCriticalSection(&state_->Section); }
void TLock::Leave() { LeaveCriticalSection(&state_->Section); }

// An auto-reset event: Windows 95 has no condition variables.
struct TSignal::TState {
    HANDLE Event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
};

TSignal::TSignal() : state_(std::make_unique<TState>()) {}

TSignal::~TSignal() {
    if (state_->Event)
        CloseHandle(state_->Event);
}

void TSignal::Give() { SetEvent(state_->Event); }

void TSignal::Wait() {
    // Without an event the waiter polls.
    if (!state_->Event || WaitForSingleObject(state_->Event, INFINITE) != WAIT_OBJECT_0)
        Sleep(1);
}

struct TThread::TState {
    std::function<void()> Body;
    HANDLE Thread = nullptr;
};

TThread::TThread(std::function<void()> body) : state_(std::make_unique<TState>()) {
    state_->Body = std::move(body);
    DWORD id = 0;
    state_->Thread = CreateThread(nullptr, 0, Body, &state_->Body, 0, &id);
}

TThread::~TThread() {
    if (!state_->Thread)
        return;
    WaitForSingleObject(state_->Thread, INFINITE);
    CloseHandle(state_->Thread);
}

bool TThread::Started() const { return state_->Thread != nullptr; }

} // namespace sw
