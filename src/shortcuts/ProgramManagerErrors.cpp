#include "shortcuts/ProgramManagerErrors.h"

namespace sw {

namespace {

std::string Translated(const std::string& english) { return TranslateEnglishMessage(english); }

// Text placed into a format before it is filled must not add placeholders.
std::string Literal(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        escaped += c;
        if (c == '%')
            escaped += '%';
    }
    return escaped;
}

} // namespace

EAIPMError::EAIPMError()
    : EAI(Translated("The TProgramManager object was unable to communicate with Program Manager")) {}

EAIPMCannotOpen::EAIPMCannotOpen()
    : EAIPMError(Translated("The TProgramManager object was unable to establish a link with Program Manager")) {}

EAIPMCannotOpenGroup::EAIPMCannotOpenGroup(const std::string& group)
    : EAIPMError(
          Format(Translated("The TProgramManager object was unable to open the following program group: %s"), {group})),
      Group(group) {}

EAIPMCannotCreateGroup::EAIPMCannotCreateGroup(const std::string& group)
    : EAIPMError(Format(Translated("The TProgramManager object was unable to create the following program group: %s"),
                        {group})),
      Group(group) {}

EAIPMCannotAddItem::EAIPMCannotAddItem(const std::string& group, const std::string& command,
                                       const std::string& itemName)
    : EAIPMError(Format(Translated("The TProgramManager object was unable to add the following program item: ") +
                            Literal(itemName) +
                            Translated(" to the following group: %s. The arguments passed to ") +
                            Translated(" Program Manager were: %s"),
                        {group, command})),
      Group(group), Command(command), ItemName(itemName) {}

EAIPMCannotReplaceItem::EAIPMCannotReplaceItem(const std::string& group, const std::string& itemName)
    : EAIPMError(Format(Translated("The TProgramManager object was unable to replace the following program item: %s") +
                            Translated(" to the following group: %s"),
                        {itemName, group})),
      Group(group), ItemName(itemName) {}

} // namespace sw
