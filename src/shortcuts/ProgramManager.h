// The client of Program Manager: a DDE conversation on service and topic
// "PROGMAN", opened on first use, that creates and selects groups, reads a
// group's item lines and adds and replaces items. One instance lives for
// the program; its conversation ends with it.
#pragma once

#include "platform/Dde.h"

#include <memory>
#include <string>
#include <vector>

namespace sw {

class TStrings;

class TProgramManager {
  public:
    // Raises EAIPMCannotOpen when Program Manager does not answer.
    void Open();
    bool Connected() const { return conversation_ != nullptr; }

    // Makes `name` the current group and loads its item lines; a group
    // without data leaves no current group.
    void SelectGroup(const std::string& name);
    const std::string& CurrentGroup() const { return currentGroup_; }
    // Line 0 describes the group, lines 1 and up its items.
    const std::vector<std::string>& ItemLines() const { return itemLines_; }
    int ItemCount() const;
    // Field n (from 1; field 1 is the name) of item `index` (from 1); empty
    // for an item or field that does not exist.
    std::string ItemField(int index, int n) const;
    // The first item whose name is `name` exactly, or -1.
    int FindItem(const std::string& name) const;

    // Raises EAIPMCannotCreateGroup when refused; selects the group.
    void CreateGroup(const std::string& name);
    // Both do nothing without a current group. EAIPMCannotOpenGroup when the
    // group cannot be shown; EAIPMCannotReplaceItem / EAIPMCannotAddItem
    // when the command is refused.
    void ReplaceItem(const std::string& name);
    void AddItem(const std::string& commandLine, const std::string& name, const std::string& hotKey,
                 const std::string& defaultDirectory, int iconIndex, const std::string& iconPath);
    void GroupNames(TStrings& list);

  private:
    bool Execute(const std::string& command);
    void ShowCurrentGroup();

    std::unique_ptr<IDdeConversation> conversation_;
    std::string currentGroup_;
    std::vector<std::string> itemLines_;
};

} // namespace sw
