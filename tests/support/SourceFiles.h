// Files of the source tree, read by tests wherever they run (under Wine the
// Unix root is drive Z:). SW_SOURCE_DIR is set for every test program.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace sw::test {

// The path of `relative` below the source tree.
inline std::string SourcePath(const std::string& relative) {
#ifdef _WIN32
    return std::string("Z:") + SW_SOURCE_DIR + "/" + relative;
#else
    return std::string(SW_SOURCE_DIR) + "/" + relative;
#endif
}

// The bytes of `relative` below the source tree; empty when it cannot be read.
inline std::string ReadSourceFile(const std::string& relative) {
    std::ifstream in(SourcePath(relative), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace sw::test
