// String tables as text files: bytes in the language's Windows code page,
// lines ending in CR LF, LF or CR.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sw {

// The lines of a table. Raises "The string table is not in code page %d"
// when the bytes are not text of `codePage`: a byte-order mark, UTF-8 text
// with characters beyond ASCII, or bytes the code page has no character for.
std::vector<std::string> SplitTableText(std::string_view bytes, unsigned codePage);

// The file form of lines: each ends in CR LF.
std::string JoinTableText(const std::vector<std::string>& lines);

} // namespace sw
