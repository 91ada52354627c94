#include "platform/JobQueue.h"
#include "platform/Threads.h"

#include <algorithm>
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

} // namespace sw
