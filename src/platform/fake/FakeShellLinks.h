// Shell links kept as small text files in the fake file system, with fault
// injection: COM that does not initialize, a save that fails with a code.
#pragma once

#include "platform/ShellLinks.h"

namespace sw::fake {

class FakeFileSystem;

class FakeShellLinks : public IShellLinks {
  public:
    explicit FakeShellLinks(FakeFileSystem& files) : files_(files) {}

    // Every later InitializeCom returns `code`.
    void FailCom(int32_t code) { comCode_ = code; }
    // The next Save fails with `code` before it writes anything.
    void FailNextSave(int32_t code) { saveCode_ = code; }
    int ComInitializations() const { return comInitializations_; }

    int32_t InitializeCom() override;
    ShellLinkResult Save(const std::string& file, const ShellLink& link) override;
    std::optional<ShellLink> Load(const std::string& file) override;
    std::string ErrorMessage(int32_t code) override;

  private:
    FakeFileSystem& files_;
    int32_t comCode_ = hresult::Ok;
    int32_t saveCode_ = hresult::Ok;
    int comInitializations_ = 0;
};

} // namespace sw::fake
