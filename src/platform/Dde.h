// DDE as a client: one conversation with a server on a service and topic,
// executing commands and requesting data items as text (CF_TEXT).
#pragma once

#include <memory>
#include <optional>
#include <string>

namespace sw {

// An open conversation; destroying it ends the conversation.
class IDdeConversation {
  public:
    virtual ~IDdeConversation() = default;
    // Sends a command as zero-terminated text; true when the server accepted it.
    virtual bool Execute(const std::string& command) = 0;
    // The data item as text, without its terminating zero; none when the
    // server has no data for it.
    virtual std::optional<std::string> Request(const std::string& item) = 0;
};

class IDde {
  public:
    virtual ~IDde() = default;
    // Null when no server answers on that service and topic.
    virtual std::unique_ptr<IDdeConversation> Connect(const std::string& service, const std::string& topic) = 0;
};

} // namespace sw
