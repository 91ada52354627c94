// Inflation ahead of an install's extractions. An install extracts the
// entries of its archive one at a time, each between the checks, events and
// file work of its own pass, which alone would inflate on one processor in
// the gaps of that work. Given the archive's only volume, this inflates the
// entries in the order of their data on a second thread, holding at most
// kAheadBytes of inflated data; an extraction takes an entry's data from it
// when that entry is still ahead, and inflates by itself otherwise. An
// error met ahead is raised where the extraction itself would meet it.
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
    static constexpr size_t kAheadBytes = 4 << 20;

    // Inflates from `volume`, in which the archive starts at `offset`, the
    // entries of one volume (StartDisk equal to EndDisk) in the order of
    // their data, from the entry `first` on.
    TInflateAhead(std::unique_ptr<IFile> volume, int64_t offset, const TFileHeaders& headers, int first);
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

    void Work();
    // Inflates the entry at `position` of the plan; false when the thread
    // is to stop.
    bool InflateEntry(int position);
    // Queues a window when there is room; false when the thread is to stop
    // or nobody wants the window's entry any more.
    bool Push(TWindow window);
    // Drops queued windows of entries before `position`. Under the lock.
    void DropBefore(int position);
    // Under the lock: waits for signal, the lock left meanwhile; wakes the
    // side waiting for signal, if it waits. A signal is given only to a
    // waiter: each costs a system call.
    void WaitFor(TSignal& signal, bool& waits);
    void Wake(TSignal& signal, bool& waits);

    std::unique_ptr<IFile> volume_;
    const int64_t offset_;
    // The plan: copies of the headers, in the order of their data.
    std::vector<TFileHeader> plan_;
    // For each entry of the table, its place in the plan or -1.
    std::vector<int> positionOf_;

    TLock lock_;
    TSignal produced_;
    TSignal consumed_;
    std::deque<TWindow> queue_;
    size_t queuedBytes_ = 0;
    // No entry before this place of the plan is wanted.
    int wanted_ = 0;
    bool stop_ = false;
    bool producerWaits_ = false;
    bool consumerWaits_ = false;
    bool done_ = false;
    int taken_ = 0;
    std::unique_ptr<TThread> thread_;
};

} // namespace sw
