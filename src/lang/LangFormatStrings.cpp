#include "lang/LangFormatStrings.h"

#include "lang/Language.h"
#include "lang/TableText.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "project/Errors.h"
#include "project/Text.h"

namespace sw {

SW_CLASS_INFO(TLangFormatStrings, TPersistent, {[] {
                  TPropInfo p = prop::MakeProp("Strings", TPropKind::StringList);
                  p.GetLines = [](const TPersistent& o) { return static_cast<const TLangFormatStrings&>(o).Lines(); };
                  p.SetLines = [](TPersistent& o, const std::vector<std::string>& v) {
                      static_cast<TLangFormatStrings&>(o).Assign(v);
                  };
                  return p;
              }()})

void TLangFormatStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw Exception(Format("List index out of bounds (%d)", {index}));
}

const std::string& TLangFormatStrings::operator[](int index) const {
    CheckIndex(index);
    return lines_[static_cast<size_t>(index)];
}

void TLangFormatStrings::Changed() { language_.Parse(); }

void TLangFormatStrings::Add(std::string line) {
    lines_.push_back(std::move(line));
    Changed();
}

void TLangFormatStrings::AddStrings(const std::vector<std::string>& lines) {
    lines_.insert(lines_.end(), lines.begin(), lines.end());
    Changed();
}

void TLangFormatStrings::Insert(int index, std::string line) {
    if (index != Count())
        CheckIndex(index);
    lines_.insert(lines_.begin() + index, std::move(line));
    Changed();
}

void TLangFormatStrings::Clear() {
    lines_.clear();
    Changed();
}

void TLangFormatStrings::Move(int from, int to) {
    CheckIndex(from);
    CheckIndex(to);
    std::string line = std::move(lines_[static_cast<size_t>(from)]);
    lines_.erase(lines_.begin() + from);
    lines_.insert(lines_.begin() + to, std::move(line));
    Changed();
}

void TLangFormatStrings::Delete(int index) {
    CheckIndex(index);
    lines_.erase(lines_.begin() + index);
    language_.LineDeleted(index);
}

void TLangFormatStrings::Put(int index, std::string line) {
    CheckIndex(index);
    lines_[static_cast<size_t>(index)] = std::move(line);
}

void TLangFormatStrings::Exchange(int a, int b) {
    CheckIndex(a);
    CheckIndex(b);
    std::swap(lines_[static_cast<size_t>(a)], lines_[static_cast<size_t>(b)]);
}

void TLangFormatStrings::Assign(const std::vector<std::string>& lines) {
    language_.SetParseEnabled(false);
    lines_ = lines;
    language_.SetParseEnabled(true);
    Changed();
}

std::vector<std::string> TLangFormatStrings::Decode(std::string_view bytes) const {
    return SplitTableText(bytes, LanguageData(language_.LanguageIdent()).CodePage);
}

void TLangFormatStrings::LoadFromStream(std::string_view bytes) {
    lines_ = Decode(bytes);
    Changed();
}

void TLangFormatStrings::LoadFromFile(const std::string& path) {
    std::vector<std::string> lines;
    try {
        language_.SetParseEnabled(false);
        auto file = GetPlatform().Files->OpenFile(path, FileMode::Read);
        if (!file)
            throw Exception(Format("Cannot open file %s", {path}));
        const std::vector<uint8_t> bytes = file->ReadAll();
        lines = Decode(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    } catch (...) {
        language_.SetParseEnabled(true);
        throw;
    }
    lines_ = std::move(lines);
    language_.SetParseEnabled(true);
    Changed();
}

} // namespace sw
