#include "archive/InflateAhead.h"

#include "archive/ArchiveErrors.h"
#include "archive/EntryInflater.h"
#include "platform/FileSystem.h"

#include <algorithm>

namespace sw {

TInflateAhead::TInflateAhead(std::unique_ptr<IFile> volume, int64_t offset, const TFileHeaders& headers, int first)
    : volume_(std::move(volume)), offset_(offset), positionOf_(static_cast<size_t>(headers.Count()), -1) {
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
    if (first >= 0 && first < headers.Count() && positionOf_[static_cast<size_t>(first)] >= 0)
        wanted_ = positionOf_[static_cast<size_t>(first)];
    thread_ = std::make_unique<TThread>([this] { Work(); });
    if (!thread_->Started())
        done_ = true;
}

TInflateAhead::~TInflateAhead() {
    {
        TLocked hold(lock_);
        stop_ = true;
        Wake(consumed_, producerWaits_);
    }
    thread_.reset();
}

void TInflateAhead::Work() {
    int position = 0;
    for (;;) {
        {
            TLocked hold(lock_);
            position = std::max(position, wanted_);
            if (stop_ || position >= static_cast<int>(plan_.size())) {
                done_ = true;
                Wake(produced_, consumerWaits_);
                return;
            }
        }
        if (!InflateEntry(position))
            continue;
        ++position;
    }
}

bool TInflateAhead::InflateEntry(int position) {
    const TFileHeader& header = plan_[static_cast<size_t>(position)];
    TWindow last;
    last.Position = position;
    last.Last = true;
    try {
        volume_->Seek(offset_ + header.Record.DataStart, SeekOrigin::Begin);
        TEntryInflater inflater(header, *volume_, header.Record.StartDisk, offset_, nullptr);
        for (;;) {
            TWindow window;
            window.Position = position;
            window.Data = std::make_unique_for_overwrite<uint8_t[]>(TEntryInflater::kWindow);
            window.Size = inflater.Next(window.Data.get());
            if (window.Size == 0)
                break;
            if (!Push(std::move(window)))
                return false;
        }
    } catch (...) {
        last.Error = std::current_exception();
    }
    return Push(std::move(last));
}

bool TInflateAhead::Push(TWindow window) {
    lock_.Enter();
    while (!stop_ && window.Position >= wanted_ && queuedBytes_ >= kAheadBytes)
        WaitFor(consumed_, producerWaits_);
    const bool wanted = !stop_ && window.Position >= wanted_;
    if (wanted) {
        queuedBytes_ += window.Size;
        queue_.push_back(std::move(window));
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
    while (!queue_.empty() && queue_.front().Position < position) {
        queuedBytes_ -= queue_.front().Size;
        queue_.pop_front();
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
        if (position < wanted_ || (done_ && queue_.empty()))
            return false;
        wanted_ = position;
        DropBefore(position);
        Wake(consumed_, producerWaits_);
    }
    // However this ends, the entry is taken: what is left of it is dropped.
    struct TTaken {
        TInflateAhead& self;
        int position;
        ~TTaken() {
            {
                TLocked hold(self.lock_);
                self.wanted_ = std::max(self.wanted_, position + 1);
                self.DropBefore(position + 1);
                self.Wake(self.consumed_, self.producerWaits_);
            }
        }
    } taken{*this, position};
    bool handed = false;
    for (;;) {
        TWindow window;
        lock_.Enter();
        while (queue_.empty() && !done_)
            WaitFor(produced_, consumerWaits_);
        if (queue_.empty() || queue_.front().Position != position) {
            // The thread ended or went past the entry: neither happens while
            // the entry is wanted, but nothing half handed passes for whole.
            lock_.Leave();
            if (handed)
                throw EpcIncompleteData(plan_[static_cast<size_t>(position)].SourcePath());
            return false;
        }
        window = std::move(queue_.front());
        queue_.pop_front();
        queuedBytes_ -= window.Size;
        Wake(consumed_, producerWaits_);
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
