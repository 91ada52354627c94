// Program Manager held in memory behind DDE, service and topic "PROGMAN":
// it keeps groups of items, records every command it is sent, answers
// "Groups" and a request for a group's contents, and can refuse commands
// or the conversation itself.
#pragma once

#include "platform/Dde.h"

#include <string>
#include <vector>

namespace sw::fake {

class FakeDde : public IDde {
  public:
    struct Item {
        std::string Name;
        std::string CommandLine;
        std::string IconPath;
        std::string IconIndex;
        std::string DefaultDirectory;
        std::string HotKey;
    };
    struct Group {
        std::string Name;
        std::vector<Item> Items;
    };

    // While false, no server answers.
    void SetAvailable(bool available) { available_ = available; }
    // Every later command beginning with `prefix` ("[AddItem(") is refused.
    void RefuseCommands(const std::string& prefix) { refused_.push_back(prefix); }
    void AddGroup(const Group& group) { groups_.push_back(group); }

    const std::vector<std::string>& Commands() const { return commands_; }
    const std::vector<Group>& Groups() const { return groups_; }
    const Group* FindGroup(const std::string& name) const;
    int Connections() const { return connections_; }
    int OpenConversations() const { return open_; }

    std::unique_ptr<IDdeConversation> Connect(const std::string& service, const std::string& topic) override;

  private:
    class Conversation;
    bool Execute(const std::string& command);
    bool Run(const std::string& name, const std::vector<std::string>& arguments);
    std::optional<std::string> Request(const std::string& item) const;
    Group* Find(const std::string& name);

    bool available_ = true;
    std::vector<std::string> refused_;
    std::vector<std::string> commands_;
    std::vector<Group> groups_;
    // The group the commands work on, and where a replaced item stood.
    std::string shown_;
    int replacedAt_ = -1;
    int connections_ = 0;
    int open_ = 0;
};

} // namespace sw::fake
