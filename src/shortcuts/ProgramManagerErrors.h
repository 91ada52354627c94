// The errors of the Program Manager conversation. Each message is looked up
// among the built-in texts before its placeholders are filled; each error
// keeps its arguments besides the message.
#pragma once

#include "system/InstallErrors.h"

#include <string>

namespace sw {

class EAIPMError : public EAI {
  public:
    EAIPMError();

  protected:
    explicit EAIPMError(const std::string& message) : EAI(message) {}
};

class EAIPMCannotOpen : public EAIPMError {
  public:
    EAIPMCannotOpen();
};

class EAIPMCannotOpenGroup : public EAIPMError {
  public:
    explicit EAIPMCannotOpenGroup(const std::string& group);
    std::string Group;
};

class EAIPMCannotCreateGroup : public EAIPMError {
  public:
    explicit EAIPMCannotCreateGroup(const std::string& group);
    std::string Group;
};

class EAIPMCannotAddItem : public EAIPMError {
  public:
    EAIPMCannotAddItem(const std::string& group, const std::string& command, const std::string& itemName);
    std::string Group;
    std::string Command;
    std::string ItemName;
};

class EAIPMCannotReplaceItem : public EAIPMError {
  public:
    EAIPMCannotReplaceItem(const std::string& group, const std::string& itemName);
    std::string Group;
    std::string ItemName;
};

} // namespace sw
