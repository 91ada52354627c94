// Resources of a loaded module, by default the running program.
#pragma once

#include "platform/Resources.h"

namespace sw::win32 {

class Win32Resources : public IResources {
  public:
    // module is an HMODULE; null means the running program.
    explicit Win32Resources(void* module = nullptr) : module_(module) {}
    std::optional<std::vector<uint8_t>> Find(ResourceType type, const std::string& name) override;

  private:
    void* module_;
};

} // namespace sw::win32
