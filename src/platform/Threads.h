// Worker threads for work that divides into independent jobs (compressing
// files side by side). Everything else runs on the GUI thread.
#pragma once

#include <functional>

namespace sw {

// Calls job(0) .. job(count - 1), each once, on up to `threads` worker
// threads (at least one) and returns when all have ended. The first
// exception a job raises is raised again here, after every thread ended.
void RunJobs(int count, int threads, const std::function<void(int)>& job);

// The number of processors, at least 1.
int ProcessorCount();

} // namespace sw
