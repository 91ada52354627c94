#include "project/ProgramState.h"

#include "project/Errors.h"

namespace sw {

namespace {
TProgramState* current = nullptr;
} // namespace

TProgramState::TProgramState() {
    if (current)
        throw EProgramState("A program state exists already");
    current = this;
}

TProgramState::~TProgramState() {
    // A part stays findable while its destructor runs (a form freed by the
    // application asks the application about itself). Destroying a part may
    // ask for one destroyed already: that one is created anew after it and
    // destroyed on a later round.
    while (!parts_.empty()) {
        const size_t last = parts_.size() - 1;
        delete parts_[last].second.get();
        (void)parts_[last].second.release();
        parts_.erase(parts_.begin() + static_cast<std::ptrdiff_t>(last));
    }
    current = nullptr;
}

void* TProgramState::Find(const void* key) const {
    for (const auto& [k, holder] : parts_)
        if (k == key)
            return holder->Get();
    return nullptr;
}

void TProgramState::Add(const void* key, std::unique_ptr<HolderBase> holder) {
    parts_.emplace_back(key, std::move(holder));
}

TProgramState& CurrentProgramState() {
    if (!current)
        throw EProgramState("No program state exists");
    return *current;
}

bool HasProgramState() { return current != nullptr; }

} // namespace sw
