// The Program Manager client against the fake Program Manager: the commands
// it sends, the item lines it reads, and each error it raises.
#include "support/ErrorOf.h"
#include "support/ProgramStateForTests.h"

#include "platform/fake/FakePlatform.h"
#include "project/StringList.h"
#include "shortcuts/ProgramManagerErrors.h"
#include "shortcuts/ShortcutsState.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

class ProgramManagerTest : public ::testing::Test {
  protected:
    // The client's conversation ends while the fake it talks to lives.
    void TearDown() override { RenewProgramState(); }
    fake::FakeDde& Dde() { return fake_.Dde(); }
    TProgramManager& Pm() { return ProgramManager(); }
    // Two items; the second's name differs from "Tool" only in case.
    void AddToolsGroup() {
        Dde().AddGroup({"Tools", {{"Tool", "C:\\T\\tool.exe", "", "0", "C:\\T", ""},
                                  {"readme", "C:\\T\\readme.txt", "", "0", "C:\\T", ""}}});
    }

    fake::FakePlatform fake_;
    ScopedPlatform platform_{fake_.Get()};
};

TEST_F(ProgramManagerTest, OpensTheLinkOnceOnFirstUse) {
    EXPECT_FALSE(Pm().Connected());
    Pm().Open();
    Pm().Open();
    Pm().CreateGroup("Tools");
    EXPECT_TRUE(Pm().Connected());
    EXPECT_EQ(Dde().Connections(), 1);
}

TEST_F(ProgramManagerTest, NoProgramManagerRaisesCannotOpen) {
    Dde().SetAvailable(false);
    EXPECT_EQ(ErrorOf<EAIPMCannotOpen>([&] { Pm().CreateGroup("Tools"); }),
              "The TProgramManager object was unable to establish a link with Program Manager");
    EXPECT_FALSE(Pm().Connected());
    EXPECT_EQ(EAIPMError().what(), std::string("The TProgramManager object was unable to communicate with Program Manager"));
}

TEST_F(ProgramManagerTest, DestroyingAnOpenClientClosesTheLink) {
    {
        TProgramManager client;
        client.Open();
        EXPECT_EQ(Dde().OpenConversations(), 1);
    }
    EXPECT_EQ(Dde().OpenConversations(), 0);
}

TEST_F(ProgramManagerTest, CreateGroupSendsItsCommandAndSelectsTheGroup) {
    Pm().CreateGroup("My Tools");
    ASSERT_EQ(Dde().Commands().size(), 1u);
    EXPECT_EQ(Dde().Commands()[0], "[CreateGroup(\"My Tools\")]");
    EXPECT_EQ(Pm().CurrentGroup(), "My Tools");
    ASSERT_EQ(Pm().ItemLines().size(), 1u);
    EXPECT_EQ(Pm().ItemCount(), 0);
    EXPECT_EQ(Pm().FindItem("Tool"), -1) << "a group without items";
}

TEST_F(ProgramManagerTest, AnExistingGroupIsOpenedAndSelected) {
    AddToolsGroup();
    Pm().CreateGroup("Tools");
    EXPECT_EQ(Dde().Groups().size(), 1u);
    EXPECT_EQ(Pm().CurrentGroup(), "Tools");
    EXPECT_EQ(Pm().ItemCount(), 2);
}

TEST_F(ProgramManagerTest, AnEmptyGroupNameDoesNothing) {
    Pm().CreateGroup("");
    EXPECT_TRUE(Dde().Commands().empty());
    EXPECT_EQ(Pm().CurrentGroup(), "");
}

TEST_F(ProgramManagerTest, ItemFieldsLoseTheirQuotes) {
    AddToolsGroup();
    Pm().SelectGroup("Tools");
    EXPECT_EQ(Pm().ItemField(1, 1), "Tool");
    EXPECT_EQ(Pm().ItemField(1, 2), "C:\\T\\tool.exe");
    EXPECT_EQ(Pm().ItemField(1, 3), "C:\\T");
    EXPECT_EQ(Pm().ItemField(2, 1), "readme");
    EXPECT_EQ(Pm().ItemField(0, 1), "") << "line 0 is the group";
    EXPECT_EQ(Pm().ItemField(3, 1), "") << "beyond the last item";
    EXPECT_EQ(Pm().ItemField(1, 40), "") << "beyond the last field";
}

TEST_F(ProgramManagerTest, FindItemComparesNamesExactly) {
    AddToolsGroup();
    Pm().SelectGroup("Tools");
    EXPECT_EQ(Pm().FindItem("Tool"), 1);
    EXPECT_EQ(Pm().FindItem("readme"), 2);
    EXPECT_EQ(Pm().FindItem("TOOL"), -1);
    EXPECT_EQ(Pm().FindItem("Readme"), -1);
}

TEST_F(ProgramManagerTest, AddItemShowsTheGroupThenAddsWithEmptyPositionFields) {
    Pm().CreateGroup("Tools");
    Pm().AddItem("\"C:\\T\\tool.exe\" -x", "Tool", "", "\"C:\\T\"", 0, "");
    ASSERT_EQ(Dde().Commands().size(), 3u);
    EXPECT_EQ(Dde().Commands()[1], "[ShowGroup(Tools,8)]");
    EXPECT_EQ(Dde().Commands()[2], "[AddItem(\"C:\\T\\tool.exe\" -x,Tool,,0,,,\"C:\\T\",)]");
    EXPECT_EQ(Pm().ItemCount(), 1) << "the lines are reloaded";
    EXPECT_EQ(Pm().FindItem("Tool"), 1);
    EXPECT_EQ(Dde().FindGroup("Tools")->Items[0].CommandLine, "\"C:\\T\\tool.exe\" -x");
}

TEST_F(ProgramManagerTest, ReplaceItemRemovesTheItemAndTheNextAddTakesItsPlace) {
    AddToolsGroup();
    Pm().CreateGroup("Tools");
    Pm().ReplaceItem("Tool");
    EXPECT_EQ(Dde().Commands()[1], "[ShowGroup(Tools,8)]");
    EXPECT_EQ(Dde().Commands()[2], "[ReplaceItem(\"Tool\")]");
    EXPECT_EQ(Pm().ItemCount(), 1);
    Pm().AddItem("\"C:\\T\\new.exe\" ", "Tool", "", "\"C:\\T\"", 0, "");
    EXPECT_EQ(Pm().ItemField(1, 1), "Tool");
    EXPECT_EQ(Pm().ItemField(2, 1), "readme");
}

TEST_F(ProgramManagerTest, WithoutACurrentGroupItemsAreLeftAlone) {
    Pm().SelectGroup("Nowhere");
    EXPECT_EQ(Pm().CurrentGroup(), "");
    Pm().AddItem("\"C:\\a.exe\" ", "A", "", "\"C:\\\"", 0, "");
    Pm().ReplaceItem("A");
    EXPECT_TRUE(Dde().Commands().empty());
}

TEST_F(ProgramManagerTest, RefusedCommandsRaiseTheirErrorsAndKeepTheGroup) {
    AddToolsGroup();
    Pm().CreateGroup("Tools");
    Dde().RefuseCommands("[CreateGroup(");
    auto create = ErrorOf<EAIPMCannotCreateGroup>([&] { Pm().CreateGroup("Games"); });
    EXPECT_EQ(create, "The TProgramManager object was unable to create the following program group: Games");
    EXPECT_EQ(Pm().CurrentGroup(), "Tools");

    Dde().RefuseCommands("[ReplaceItem(");
    EXPECT_EQ(ErrorOf<EAIPMCannotReplaceItem>([&] { Pm().ReplaceItem("Tool"); }),
              "The TProgramManager object was unable to replace the following program item: Tool to the following "
              "group: Tools");

    Dde().RefuseCommands("[AddItem(");
    try {
        Pm().AddItem("\"C:\\T\\tool.exe\" ", "Tool 100%s", "", "\"C:\\T\"", 0, "");
        ADD_FAILURE() << "no error";
    } catch (const EAIPMCannotAddItem& e) {
        EXPECT_EQ(std::string(e.what()),
                  "The TProgramManager object was unable to add the following program item: Tool 100%s to the "
                  "following group: Tools. The arguments passed to  Program Manager were: [AddItem(\"C:\\T\\tool.exe\" "
                  ",Tool 100%s,,0,,,\"C:\\T\",)]");
        EXPECT_EQ(e.Group, "Tools");
        EXPECT_EQ(e.ItemName, "Tool 100%s");
        EXPECT_EQ(e.Command, "[AddItem(\"C:\\T\\tool.exe\" ,Tool 100%s,,0,,,\"C:\\T\",)]");
    }

    Dde().RefuseCommands("[ShowGroup(");
    auto show = ErrorOf<EAIPMCannotOpenGroup>([&] { Pm().AddItem("\"C:\\a.exe\" ", "A", "", "\"C:\\\"", 0, ""); });
    EXPECT_EQ(show, "The TProgramManager object was unable to open the following program group: Tools");
    EXPECT_EQ(Pm().CurrentGroup(), "Tools");
}

TEST_F(ProgramManagerTest, EveryErrorIsAProgramManagerError) {
    Dde().RefuseCommands("[");
    EXPECT_FALSE(ErrorOf<EAIPMError>([&] { Pm().CreateGroup("Games"); }).empty());
    EXPECT_FALSE(ErrorOf<EAI>([&] { Pm().CreateGroup("Games"); }).empty());
}

TEST_F(ProgramManagerTest, NamesThatWouldEndTheCommandAreRefusedUnsent) {
    ErrorOf<EAIPMCannotCreateGroup>([&] { Pm().CreateGroup("x\")][DeleteGroup(\"Accessories"); });
    Pm().CreateGroup("Tools");
    ErrorOf<EAIPMCannotAddItem>([&] { Pm().AddItem("\"C:\\a.exe\" ", "a,b", "", "\"C:\\\"", 0, ""); });
    ErrorOf<EAIPMCannotAddItem>([&] { Pm().AddItem("\"C:\\a.exe\" ])[ExitProgman(", "a", "", "\"C:\\\"", 0, ""); });
    ErrorOf<EAIPMCannotReplaceItem>([&] { Pm().ReplaceItem("a\")]"); });
    for (const std::string& command : Dde().Commands())
        EXPECT_EQ(command.find("DeleteGroup"), std::string::npos) << command;
    EXPECT_EQ(Dde().Commands().size(), 4u) << "CreateGroup and three ShowGroup commands only";
}

TEST_F(ProgramManagerTest, GroupNamesListsEveryGroup) {
    AddToolsGroup();
    Dde().AddGroup({"Games", {}});
    TStrings names;
    names.Add("old");
    Pm().GroupNames(names);
    EXPECT_EQ(names.Lines, (std::vector<std::string>{"Tools", "Games"}));
}

} // namespace
} // namespace sw::test
