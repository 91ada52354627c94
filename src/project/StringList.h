// An owned list of lines ("Lines", "Items", "Description", ...). In a stream
// its lines are the nested property "Strings".
#pragma once

#include "project/Persistent.h"

#include <string>
#include <vector>

namespace sw {

class TStrings : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    std::vector<std::string> Lines;

    int Count() const { return static_cast<int>(Lines.size()); }
    void Add(std::string s) { Lines.push_back(std::move(s)); }
    void Clear() { Lines.clear(); }
    std::vector<std::string> GetLines() const { return Lines; }
    void SetLines(const std::vector<std::string>& lines) { Lines = lines; }
};

} // namespace sw
