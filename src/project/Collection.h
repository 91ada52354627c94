// A collection: an owned list of items of one class, each with published
// properties of its own (the entries of a registry install object).
#pragma once

#include "project/Persistent.h"

#include <functional>
#include <memory>
#include <vector>

namespace sw {

class TCollectionItem : public TPersistent {};

class TCollection : public TPersistent {
  public:
    using Factory = std::function<std::unique_ptr<TCollectionItem>()>;
    explicit TCollection(Factory makeItem) : makeItem_(std::move(makeItem)) {}

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int i) const { return items_.at(static_cast<size_t>(i)).get(); }
    TCollectionItem* Add() {
        items_.push_back(makeItem_());
        return items_.back().get();
    }
    void Clear() { items_.clear(); }

  private:
    Factory makeItem_;
    std::vector<std::unique_ptr<TCollectionItem>> items_;
};

} // namespace sw
