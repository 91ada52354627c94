#include "archive/InflateAhead.h"

#include "archive/ArchiveErrors.h"
#include "archive/EntryInflater.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace sw {

TInflateAhead::TInflateAhead(std::vector<std::unique_ptr<IFile>> volumes, int64_t offset, const TFileHeaders& headers,
                             int first)
    : offset_(offset), positionOf_(static_cast<size_t>(headers.Count()), -1) {
    std::vector<int> order;
    for (int i = 0; i < headers.Count(); ++i) {
        const archive::TFileHeaderRecord& r = headers.GetFileHeaders(i).Record;
        if (r.StartDisk == r.EndDisk)
            order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&headers](int a, int b) {
        return headers.GetFileHeaders(a).Record.DataStart < headers.GetFileHeaders(b).Record.DataStart;
    });
    for (int i : order) {
        positionOf_[static_cast<size_t>(i)] = static_cast<int>(plan_.size());
        plan_.push_back(headers.GetFileHeaders(i));
    }
    inflatedBy_.assign(plan_.size(), nullptr);
    if (first >= 0 && first < headers.Count() && positionOf_[static_cast<size_t>(first)] >= 0)
        wanted_ = positionOf_[static_cast<size_t>(first)];
    for (std::unique_ptr<IFile>& volume : volumes) {
        workers_.push_back(std::make_unique<TWorker>());
        workers_.back()->Volume = std::move(volume);
    }
    running_ = static_cast<int>(workers_.size());
    for (const std::unique_ptr<TWorker>& worker : workers_) {
        worker->Thread = std::make_unique<TThread>([this, &worker = *worker] { Work(worker); });
        if (!worker->Thread->Started()) {
            TLocked hold(lock_);
            --running_;
        }
    }
}

TInflateAhead::~TInflateAhead() {
    {
        TLocked hold(lock_);
        stop_ = true;
        for (const std::unique_ptr<TWorker>& worker : workers_)
            Wake(worker->Room, worker->Waits);
    }
    for (const std::unique_ptr<TWorker>& worker : workers_)
        worker->Thread.reset();
}

void TInflateAhead::Work(TWorker& worker) {
    for (;;) {
        int position = 0;
        {
            TLocked hold(lock_);
            position = std::max(next_, wanted_);
            if (stop_ || position >= static_cast<int>(plan_.size())) {
                --running_;
                Wake(produced_, consumerWaits_);
                return;
            }
            next_ = position + 1;
            inflatedBy_[static_cast<size_t>(position)] = &worker;
        }
        InflateEntry(worker, position);
    }
}

bool TInflateAhead::InflateEntry(TWorker& worker, int position) {
    const TFileHeader& header = plan_[static_cast<size_t>(position)];
    TWindow last;
    last.Position = position;
    last.Last = true;
    try {
        worker.Volume->Seek(offset_ + header.Record.DataStart, SeekOrigin::Begin);
        TEntryInflater inflater(header, *worker.Volume, header.Record.StartDisk, offset_, nullptr);
        for (;;) {
            TWindow window;
            window.Position = position;
            window.Data = std::make_unique_for_overwrite<uint8_t[]>(TEntryInflater::kWindow);
            window.Size = inflater.Next(window.Data.get());
            if (window.Size == 0)
                break;
            if (!Push(worker, std::move(window)))
                return false;
        }
    } catch (...) {
        last.Error = std::current_exception();
    }
    return Push(worker, std::move(last));
}

bool TInflateAhead::Push(TWorker& worker, TWindow window) {
    lock_.Enter();
    while (!stop_ && window.Position >= wanted_ && worker.QueuedBytes >= kAheadBytes)
        WaitFor(worker.Room, worker.Waits);
    const bool wanted = !stop_ && window.Position >= wanted_;
    if (wanted) {
        // The extraction waits only for the entry it wants.
        const bool awaited = window.Position == wanted_;
        worker.QueuedBytes += window.Size;
        worker.Queue.push_back(std::move(window));
        if (awaited)
            Wake(produced_, consumerWaits_);
    }
    lock_.Leave();
    return wanted;
}

void TInflateAhead::WaitFor(TSignal& signal, bool& waits) {
    waits = true;
    lock_.Leave();
    signal.Wait();
    lock_.Enter();
}

void TInflateAhead::Wake(TSignal& signal, bool& waits) {
    if (!waits)
        return;
    waits = false;
    signal.Give();
}

void TInflateAhead::DropBefore(int position) {
    // A worker whose queue loses nothing still waits rightly: its window
    // comes after what it holds, all of it wanted.
    for (const std::unique_ptr<TWorker>& worker : workers_) {
        bool dropped = false;
        while (!worker->Queue.empty() && worker->Queue.front().Position < position) {
            worker->QueuedBytes -= worker->Queue.front().Size;
            worker->Queue.pop_front();
            dropped = true;
        }
        if (dropped)
            Wake(worker->Room, worker->Waits);
    }
}

bool TInflateAhead::Take(int index, const TPut& put) {
    if (index < 0 || index >= static_cast<int>(positionOf_.size()))
        return false;
    const int position = positionOf_[static_cast<size_t>(index)];
    if (position < 0)
        return false;
    {
        TLocked hold(lock_);
        if (position < wanted_ || (running_ == 0 && !inflatedBy_[static_cast<size_t>(position)]))
            return false;
        wanted_ = position;
        DropBefore(position);
    }
    // However this ends, the entry is taken: what is left of it is dropped.
    struct TTaken {
        TInflateAhead& self;
        int position;
        ~TTaken() {
            TLocked hold(self.lock_);
            self.wanted_ = std::max(self.wanted_, position + 1);
            self.DropBefore(position + 1);
        }
    } taken{*this, position};
    bool handed = false;
    for (;;) {
        TWindow window;
        lock_.Enter();
        TWorker* worker = nullptr;
        for (;;) {
            worker = inflatedBy_[static_cast<size_t>(position)];
            if ((worker && !worker->Queue.empty()) || running_ == 0)
                break;
            WaitFor(produced_, consumerWaits_);
        }
        if (!worker || worker->Queue.empty() || worker->Queue.front().Position != position) {
            // Every worker ended, or the entry's went past it: neither happens
            // while the entry is wanted, but nothing half handed passes for whole.
            lock_.Leave();
            if (handed)
                throw EpcIncompleteData(plan_[static_cast<size_t>(position)].SourcePath());
            return false;
        }
        window = std::move(worker->Queue.front());
        worker->Queue.pop_front();
        worker->QueuedBytes -= window.Size;
        Wake(worker->Room, worker->Waits);
        lock_.Leave();
        if (window.Error)
            std::rethrow_exception(window.Error);
        if (window.Last) {
            ++taken_;
            return true;
        }
        handed = true;
        put(window.Data.get(), window.Size);
    }
}

} // namespace sw
