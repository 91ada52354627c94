// Records carried by the downward broadcasts and upward reports of the install
// object tree. Components travel on the same channels, so both share TPersistent.
#pragma once

#include "project/Persistent.h"

#include <string>

namespace sw {

class TMessageParameter : public TPersistent {
  public:
    explicit TMessageParameter(std::string text) : Text(std::move(text)) {}
    std::string Text;
};

} // namespace sw
