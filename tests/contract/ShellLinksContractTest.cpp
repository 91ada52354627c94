#include "ContractBackends.h"

#include "platform/ShellLinks.h"
#include "project/Text.h"

using namespace sw;

namespace {

template <typename Backend> class ShellLinksContract : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_GE(backend.ShellLinks().InitializeCom(), 0); }

    Backend backend;
};

TYPED_TEST_SUITE(ShellLinksContract, contract::Backends, contract::BackendNames);

TYPED_TEST(ShellLinksContract, ComInitializesAgainOnTheSameThread) {
    EXPECT_GE(this->backend.ShellLinks().InitializeCom(), 0);
}

TYPED_TEST(ShellLinksContract, ASavedLinkReadsBack) {
    const std::string folder = this->backend.Scratch();
    ShellLink link;
    link.Target = folder + "\\tool.exe";
    link.Arguments = "My Product";
    link.WorkingDirectory = folder;
    link.HotKey = 0x0654; // Ctrl+Alt+T
    const std::string file = folder + "\\Tool.lnk";
    ASSERT_FALSE(this->backend.ShellLinks().Save(file, link).Failed());
    ASSERT_TRUE(this->backend.Files().FileExists(file));
    std::optional<ShellLink> back = this->backend.ShellLinks().Load(file);
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(SameText(back->Target, link.Target)) << back->Target;
    EXPECT_EQ(back->Arguments, "My Product");
    EXPECT_TRUE(SameText(back->WorkingDirectory, folder)) << back->WorkingDirectory;
    EXPECT_EQ(back->HotKey, 0x0654);
    EXPECT_EQ(back->IconPath, "");
}

TYPED_TEST(ShellLinksContract, SavingIntoAMissingFolderFails) {
    ShellLink link;
    link.Target = this->backend.Scratch() + "\\tool.exe";
    ShellLinkResult result = this->backend.ShellLinks().Save(this->backend.Scratch() + "\\Missing\\Tool.lnk", link);
    EXPECT_TRUE(result.Failed());
}

TYPED_TEST(ShellLinksContract, ANameLongerThanTheShellTakesFails) {
    ShellLink link;
    link.Target = this->backend.Scratch() + "\\tool.exe";
    const std::string file = this->backend.Scratch() + "\\" + std::string(300, 'a') + ".lnk";
    EXPECT_EQ(this->backend.ShellLinks().Save(file, link).Code, hresult::InvalidArgument);
}

TYPED_TEST(ShellLinksContract, APlainFileIsNoLink) {
    const std::string file = this->backend.Scratch() + "\\plain.lnk";
    auto out = this->backend.Files().OpenFile(file, FileMode::Create);
    ASSERT_NE(out, nullptr);
    out->Write("not a link", 10);
    out.reset();
    EXPECT_FALSE(this->backend.ShellLinks().Load(file).has_value());
    EXPECT_FALSE(this->backend.ShellLinks().Load(this->backend.Scratch() + "\\none.lnk").has_value());
}

TYPED_TEST(ShellLinksContract, SystemMessagesNameTheFailure) {
    EXPECT_FALSE(this->backend.ShellLinks().ErrorMessage(hresult::AccessDenied).empty());
}

} // namespace
