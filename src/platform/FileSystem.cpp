#include "platform/FileSystem.h"

namespace sw {

std::vector<uint8_t> IFile::ReadAll() {
    std::vector<uint8_t> data;
    uint8_t buffer[65536];
    while (size_t got = Read(buffer, sizeof buffer))
        data.insert(data.end(), buffer, buffer + got);
    return data;
}

} // namespace sw
