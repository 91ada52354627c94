// The lines of a language's string table: an unsorted list that keeps the
// language's parsed entries in step with its lines. Adding, inserting,
// clearing, moving and loading from a stream re-parse the whole table;
// assigning and loading from a file parse once after the load. Deleting a
// line only shifts the recorded lines of the string entries after it;
// replacing and exchanging lines do not re-parse.
#pragma once

#include "project/Persistent.h"

#include <string>
#include <string_view>
#include <vector>

namespace sw {

class TLanguage;

class TLangFormatStrings : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    explicit TLangFormatStrings(TLanguage& language) : language_(language) {}

    TLanguage& Language() const { return language_; }
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const;
    const std::vector<std::string>& Lines() const { return lines_; }

    void Add(std::string line);
    void AddStrings(const std::vector<std::string>& lines);
    void Insert(int index, std::string line);
    void Clear();
    void Move(int from, int to);
    void Delete(int index);
    void Put(int index, std::string line);
    void Exchange(int a, int b);

    // Replaces every line and parses once.
    void Assign(const std::vector<std::string>& lines);
    void Assign(const TLangFormatStrings& other) { Assign(other.lines_); }
    // The text of a table (lines ending in CR LF, LF or CR) in the language's
    // code page; raises, keeping the lines as they were, when the bytes are
    // not text of that code page.
    void LoadFromStream(std::string_view bytes);
    // The same from a file of the platform, parsed once after the load.
    void LoadFromFile(const std::string& path);

  private:
    void CheckIndex(int index) const;
    void Changed();
    std::vector<std::string> Decode(std::string_view bytes) const;

    TLanguage& language_;
    std::vector<std::string> lines_;
};

} // namespace sw
