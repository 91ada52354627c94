// Files of the source tree, read by tests wherever they run (under Wine the
// Unix root is drive Z:). SW_SOURCE_DIR is set for every test program.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace sw::test {

// The bytes of `relative` below the source tree; empty when it cannot be read.
inline std::string ReadSourceFile(const std::string& relative) {
#ifdef _WIN32
    std::string path = std::string("Z:") + SW_SOURCE_DIR + "/" + relative;
#else
    std::string path = std::string(SW_SOURCE_DIR) + "/" + relative;
#endif
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace sw::test
