// DDE client conversations through the system's DDE management library.
#pragma once

#include "platform/Dde.h"

namespace sw::win32 {

class Win32Dde : public IDde {
  public:
    std::unique_ptr<IDdeConversation> Connect(const std::string& service, const std::string& topic) override;
};

} // namespace sw::win32
