// Shell links through the shell's link object (IShellLinkA) and its
// persist-file interface, over COM.
#pragma once

#include "platform/ShellLinks.h"

namespace sw::win32 {

class Win32ShellLinks : public IShellLinks {
  public:
    int32_t InitializeCom() override;
    ShellLinkResult Save(const std::string& file, const ShellLink& link) override;
    std::optional<ShellLink> Load(const std::string& file) override;
    std::string ErrorMessage(int32_t code) override;
};

} // namespace sw::win32
