#include "archive/CompressAhead.h"

#include "platform/FileSystem.h"
#include "project/Text.h"

#include <utility>

namespace sw {

TCompressAhead::TCompressAhead(std::vector<std::string> sources, int level, int threads)
    : sources_(std::move(sources)), level_(level), threads_(threads), results_(sources_.size()),
      tried_(sources_.size(), false) {}

TCompressAhead::~TCompressAhead() = default;

int TCompressAhead::FindSource(const std::string& source) const {
    // Passes ask in the order given; a source listed twice is found at its
    // next place.
    for (size_t n = 0; n < sources_.size(); ++n) {
        const size_t i = (next_ + n) % sources_.size();
        if (SameText(sources_[i], source))
            return static_cast<int>(i);
    }
    return -1;
}

bool TCompressAhead::Take(const std::string& source, int level, TCompressedEntry& entry) {
    if (level != level_)
        return false;
    const int found = FindSource(source);
    if (found < 0)
        return false;
    const size_t i = static_cast<size_t>(found);
    if (!tried_[i])
        CompressWindow(i);
    next_ = i + 1;
    std::unique_ptr<TCompressedEntry> result = std::move(results_[i]);
    if (!result)
        return false;
    const uint64_t start = entry.Source->Seek(0, SeekOrigin::Current);
    const bool same = DigestOf(*entry.Source) == result->Digest;
    entry.Source->Seek(static_cast<int64_t>(start), SeekOrigin::Begin);
    if (!same) {
        ++stale_;
        return false;
    }
    // A temporary file the entry had goes with the result.
    std::swap(entry.Temp, result->Temp);
    std::swap(entry.TempPath, result->TempPath);
    entry.Steps = std::move(result->Steps);
    entry.SourceBytes = result->SourceBytes;
    entry.CompressedSize = result->CompressedSize;
    ++taken_;
    return true;
}

void TCompressAhead::CompressWindow(size_t first) {
    for (size_t i = 0; i < first; ++i)
        results_[i].reset();
    TWindow extent(threads_);
    std::vector<size_t> indices;
    std::vector<std::unique_ptr<TCompressedEntry>> opened;
    for (size_t i = first; i < sources_.size() && !extent.Full(); ++i) {
        if (tried_[i])
            continue;
        tried_[i] = true;
        auto entry = std::make_unique<TCompressedEntry>();
        try {
            entry->Open(sources_[i]);
        } catch (const std::exception&) {
            // Its pass reports what is wrong with it.
            continue;
        }
        extent.Add(static_cast<int64_t>(entry->Source->Size()));
        indices.push_back(i);
        opened.push_back(std::move(entry));
    }
    std::vector<TCompressedEntry*> window;
    for (const auto& entry : opened)
        window.push_back(entry.get());
    CompressSideBySide(window, level_, threads_, true);
    for (size_t k = 0; k < opened.size(); ++k) {
        // Handlers may change or remove the file until its pass.
        opened[k]->Source.reset();
        if (!opened[k]->Error)
            results_[indices[k]] = std::move(opened[k]);
    }
}

} // namespace sw
