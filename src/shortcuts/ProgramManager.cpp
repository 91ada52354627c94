#include "shortcuts/ProgramManager.h"

#include "platform/Platform.h"
#include "project/StringList.h"
#include "shortcuts/ProgramManagerErrors.h"

namespace sw {

namespace {

constexpr const char* kProgman = "PROGMAN";

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

// One enclosing pair of double quotes removed: a leading one only from a
// text longer than one character, a trailing one whenever present.
std::string Unquoted(std::string text) {
    if (text.size() > 1 && text.front() == '"')
        text.erase(0, 1);
    if (!text.empty() && text.back() == '"')
        text.pop_back();
    return text;
}

// Brackets would end the command and start another; a double quote would
// end a quoted argument early.
bool SafeArgument(const std::string& text, bool quoted) {
    return text.find_first_of(quoted ? "[]\"" : "[]") == std::string::npos;
}

} // namespace

void TProgramManager::Open() {
    if (conversation_)
        return;
    conversation_ = GetPlatform().Dde->Connect(kProgman, kProgman);
    if (!conversation_)
        throw EAIPMCannotOpen();
}

bool TProgramManager::Execute(const std::string& command) { return conversation_->Execute(command); }

void TProgramManager::SelectGroup(const std::string& group) {
    // The name may be the current group itself, which is cleared below.
    const std::string name = group;
    Open();
    currentGroup_.clear();
    itemLines_.clear();
    std::optional<std::string> data = conversation_->Request(name);
    if (!data)
        return;
    itemLines_ = SplitLines(*data);
    currentGroup_ = name;
}

int TProgramManager::ItemCount() const {
    return itemLines_.size() < 2 ? 0 : static_cast<int>(itemLines_.size()) - 1;
}

std::string TProgramManager::ItemField(int index, int n) const {
    if (index < 1 || index > ItemCount() || n < 1)
        return {};
    const std::string& line = itemLines_[static_cast<size_t>(index)];
    size_t start = 0;
    for (int field = 1; field < n; ++field) {
        start = line.find(',', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    std::string text = Unquoted(line.substr(start, line.find(',', start) - start));
    return n <= 2 ? Unquoted(text) : text;
}

int TProgramManager::FindItem(const std::string& name) const {
    for (int i = 1; i <= ItemCount(); ++i)
        if (ItemField(i, 1) == name)
            return i;
    return -1;
}

void TProgramManager::CreateGroup(const std::string& name) {
    Open();
    if (name.empty())
        return;
    if (!SafeArgument(name, true) || !Execute("[CreateGroup(\"" + name + "\")]"))
        throw EAIPMCannotCreateGroup(name);
    SelectGroup(name);
}

void TProgramManager::ShowCurrentGroup() {
    if (!SafeArgument(currentGroup_, false) || !Execute("[ShowGroup(" + currentGroup_ + ",8)]"))
        throw EAIPMCannotOpenGroup(currentGroup_);
}

void TProgramManager::ReplaceItem(const std::string& name) {
    Open();
    if (currentGroup_.empty())
        return;
    ShowCurrentGroup();
    if (!SafeArgument(name, true) || !Execute("[ReplaceItem(\"" + name + "\")]"))
        throw EAIPMCannotReplaceItem(currentGroup_, name);
    SelectGroup(currentGroup_);
}

void TProgramManager::AddItem(const std::string& commandLine, const std::string& name, const std::string& hotKey,
                              const std::string& defaultDirectory, int iconIndex, const std::string& iconPath) {
    Open();
    if (currentGroup_.empty())
        return;
    ShowCurrentGroup();
    const std::string command = "[AddItem(" + commandLine + "," + name + "," + iconPath + "," +
                                std::to_string(iconIndex) + ",,," + defaultDirectory + "," + hotKey + ")]";
    const bool safe = SafeArgument(commandLine, false) && SafeArgument(name, true) &&
                      name.find_first_of(",()") == std::string::npos && SafeArgument(iconPath, false) &&
                      SafeArgument(defaultDirectory, false) && SafeArgument(hotKey, false);
    if (!safe || !Execute(command))
        throw EAIPMCannotAddItem(currentGroup_, command, name);
    SelectGroup(currentGroup_);
}

void TProgramManager::GroupNames(TStrings& list) {
    Open();
    std::optional<std::string> data = conversation_->Request("Groups");
    list.Lines = data ? SplitLines(*data) : std::vector<std::string>();
}

} // namespace sw
