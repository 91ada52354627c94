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

} // namespace sw
