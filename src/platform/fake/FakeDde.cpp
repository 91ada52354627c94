#include "platform/fake/FakeDde.h"

#include "project/Text.h"

#include <algorithm>

namespace sw::fake {

class FakeDde::Conversation : public IDdeConversation {
  public:
    explicit Conversation(FakeDde& server) : server_(server) { ++server_.open_; }
    ~Conversation() override { --server_.open_; }
    bool Execute(const std::string& command) override { return server_.Execute(command); }
    std::optional<std::string> Request(const std::string& item) override { return server_.Request(item); }

  private:
    FakeDde& server_;
};

namespace {

std::string Unquoted(std::string text) {
    text = Trim(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

// The arguments of "[Name(a,b,...)]": commas inside double quotes do not split.
bool ParseCommand(const std::string& command, std::string& name, std::vector<std::string>& arguments) {
    if (command.size() < 4 || command.front() != '[' || command.substr(command.size() - 2) != ")]")
        return false;
    const size_t open = command.find('(');
    if (open == std::string::npos)
        return false;
    name = command.substr(1, open - 1);
    const std::string inside = command.substr(open + 1, command.size() - open - 3);
    std::string field;
    bool quoted = false;
    for (char c : inside) {
        if (c == '"')
            quoted = !quoted;
        if (c == ',' && !quoted) {
            arguments.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    arguments.push_back(field);
    return !quoted;
}

std::string Argument(const std::vector<std::string>& arguments, size_t index) {
    return index < arguments.size() ? Unquoted(arguments[index]) : std::string();
}

} // namespace

const FakeDde::Group* FakeDde::FindGroup(const std::string& name) const {
    auto it = std::find_if(groups_.begin(), groups_.end(), [&](const Group& g) { return SameText(g.Name, name); });
    return it == groups_.end() ? nullptr : &*it;
}

FakeDde::Group* FakeDde::Find(const std::string& name) { return const_cast<Group*>(FindGroup(name)); }

std::unique_ptr<IDdeConversation> FakeDde::Connect(const std::string& service, const std::string& topic) {
    if (!available_ || !SameText(service, "PROGMAN") || !SameText(topic, "PROGMAN"))
        return nullptr;
    ++connections_;
    return std::make_unique<Conversation>(*this);
}

bool FakeDde::Execute(const std::string& command) {
    commands_.push_back(command);
    for (const std::string& prefix : refused_)
        if (command.compare(0, prefix.size(), prefix) == 0)
            return false;
    std::string name;
    std::vector<std::string> arguments;
    return ParseCommand(command, name, arguments) && Run(name, arguments);
}

bool FakeDde::Run(const std::string& name, const std::vector<std::string>& arguments) {
    if (SameText(name, "CreateGroup")) {
        const std::string group = Argument(arguments, 0);
        if (group.empty())
            return false;
        if (!Find(group))
            groups_.push_back({group, {}});
        shown_ = group;
        replacedAt_ = -1;
        return true;
    }
    if (SameText(name, "ShowGroup")) {
        if (!Find(Argument(arguments, 0)))
            return false;
        shown_ = Argument(arguments, 0);
        return true;
    }
    Group* group = Find(shown_);
    if (!group)
        return false;
    if (SameText(name, "ReplaceItem")) {
        const std::string item = Argument(arguments, 0);
        auto it = std::find_if(group->Items.begin(), group->Items.end(),
                               [&](const Item& i) { return SameText(i.Name, item); });
        if (it == group->Items.end())
            return false;
        replacedAt_ = static_cast<int>(it - group->Items.begin());
        group->Items.erase(it);
        return true;
    }
    if (SameText(name, "AddItem")) {
        if (arguments.size() != 8 || Argument(arguments, 0).empty())
            return false;
        Item item{Argument(arguments, 1), Argument(arguments, 0), Argument(arguments, 2),
                  Argument(arguments, 3), Argument(arguments, 6), Argument(arguments, 7)};
        if (item.Name.empty())
            item.Name = item.CommandLine;
        auto at = replacedAt_ >= 0 && replacedAt_ <= static_cast<int>(group->Items.size())
                      ? group->Items.begin() + replacedAt_
                      : group->Items.end();
        group->Items.insert(at, item);
        replacedAt_ = -1;
        return true;
    }
    return false;
}

// Lines as Program Manager gives them: the group first, then one per item.
std::optional<std::string> FakeDde::Request(const std::string& item) const {
    if (SameText(item, "Groups")) {
        std::string text;
        for (const Group& g : groups_)
            text += g.Name + "\r\n";
        return text;
    }
    const Group* group = FindGroup(item);
    if (!group)
        return std::nullopt;
    std::string text = "\"" + group->Name + "\",C:\\WINDOWS\\" + group->Name + ".GRP," +
                       std::to_string(group->Items.size()) + ",1\r\n";
    for (const Item& i : group->Items)
        text += "\"" + i.Name + "\",\"" + i.CommandLine + "\"," + i.DefaultDirectory + "," + i.IconPath + ",0,0," +
                (i.IconIndex.empty() ? "0" : i.IconIndex) + "," + (i.HotKey.empty() ? "0" : i.HotKey) + ",0\r\n";
    return text;
}

} // namespace sw::fake
