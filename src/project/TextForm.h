// The text form of a project stream: what authors write and formtext converts.
// Every record tree a binary stream can hold prints and parses back exactly,
// including non-minimal encodings (see docs/text-form.md for the grammar).
#pragma once

#include "project/Errors.h"
#include "project/StreamRecord.h"

#include <string>
#include <string_view>

namespace sw {

// A syntax error in a text form: "<file>(<line>:<col>): <what>".
class ETextFormError : public Exception {
  public:
    ETextFormError(std::string fileName, int line, int column, std::string what);
    std::string FileName;
    int Line;
    int Column;
    std::string What;
};

// Prints the canonical text form of a record tree.
std::string RecordsToText(const TObjectRecord& root);
// Parses a text form; fileName only labels errors. Raises ETextFormError.
TObjectRecord TextToRecords(std::string_view text, std::string_view fileName);

} // namespace sw
