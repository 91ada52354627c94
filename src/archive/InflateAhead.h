// Inflation ahead of an install's extractions. An install extracts the
// entries of its archive one at a time, each between the checks, events and
// file work of its own pass, which alone would inflate on one processor in
// the gaps of that work. Given handles on the archive's only volume, this
// inflates its entries on worker threads, one for each handle: each worker
// takes the next entry not yet taken, in the order of their data, and holds
// at most kAheadBytes of inflated data. An extraction takes an entry's data
// from the worker that inflates it when that entry is still ahead, and
// inflates by itself otherwise. An error met ahead is raised where the
// extraction itself would meet it.
#pragma once

#include "archive/FileHeaders.h"
#include "platform/Threads.h"

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace sw {

class IFile;

class TInflateAhead {
  public:
    // The inflated data one worker may hold.
    static constexpr size_t kAheadBytes = 4 << 20;
    // Workers beyond two inflate faster than an install writes.
    static constexpr int kMostWorkers = 2;

    // Inflates from `volumes`, handles on one file in which the archive
    // starts at `offset`, the entries of one volume (StartDisk equal to
    // EndDisk) in the order of their data, from the entry `first` on.
    TInflateAhead(std::vector<std::unique_ptr<IFile>> volumes, int64_t offset, const TFileHeaders& headers, int first);
    ~TInflateAhead();
    TInflateAhead(const TInflateAhead&) = delete;
    TInflateAhead& operator=(const TInflateAhead&) = delete;

    using TPut = std::function<void(const uint8_t* data, size_t size)>;
    // Hands the inflated data of entry `index` to put, window by window as
    // they come, and returns true; false, having handed nothing, when the
    // entry is not ahead (it was passed, taken, or is not in the plan).
    // The entry counts as taken however the call ends.
    bool Take(int index, const TPut& put);

    // Entries handed whole by Take.
    int Taken() const { return taken_; }
    // Where the archive starts in the volume.
    int64_t Offset() const { return offset_; }

  private:
    struct TWindow {
        int Position = 0;
        // Not cleared before inflating into it: Size bytes are data.
        std::unique_ptr<uint8_t[]> Data;
        size_t Size = 0;
        // The entry's last: its data ended, or Error.
        bool Last = false;
        std::exception_ptr Error;
    };
    struct TWorker {
        std::unique_ptr<IFile> Volume;
        // Windows of the worker's entries, in the order of the plan.
        std::deque<TWindow> Queue;
        size_t QueuedBytes = 0;
        TSignal Room;
        bool Waits = false;
        std::unique_ptr<TThread> Thread;
    };

    void Work(TWorker& worker);
    // Inflates the entry at `position` of the plan; false when the worker
    // is to stop or nobody wants the entry any more.
    bool InflateEntry(TWorker& worker, int position);
    // Queues a window when there is room; false when the worker is to stop
    // or nobody wants the window's entry any more.
    bool Push(TWorker& worker, TWindow window);
    // Under the lock: drops queued windows of entries before `position` and
    // wakes the workers that lost some.
    void DropBefore(int position);
    // Under the lock: waits for signal, the lock left meanwhile; wakes the
    // side waiting for signal, if it waits. A signal is given only to a
    // waiter: each costs a system call.
    void WaitFor(TSignal& signal, bool& waits);
    void Wake(TSignal& signal, bool& waits);

    const int64_t offset_;
    // The plan: copies of the headers, in the order of their data.
    std::vector<TFileHeader> plan_;
    // For each entry of the table, its place in the plan or -1.
    std::vector<int> positionOf_;
    // For each place of the plan, the worker that took it or null.
    std::vector<TWorker*> inflatedBy_;
    std::vector<std::unique_ptr<TWorker>> workers_;

    TLock lock_;
    TSignal produced_;
    bool consumerWaits_ = false;
    // No entry before this place of the plan is wanted.
    int wanted_ = 0;
    // The next place of the plan for a worker to take.
    int next_ = 0;
    int running_ = 0;
    bool stop_ = false;
    int taken_ = 0;
};

} // namespace sw
