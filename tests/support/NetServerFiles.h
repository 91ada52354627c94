// The files the loopback test servers serve (tests/wine/net_servers.py makes
// the same tree), their login, and the ports the Wine tier passes in.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

namespace nettest {

inline constexpr const char* kUser = "setwright";
inline constexpr const char* kPassword = "swpass";

// 20000 bytes that are not text: byte i is (7 i + 3) mod 251.
inline std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 251);
    return bytes;
}

// Where the servers break cut.1 off.
inline constexpr size_t kCutAfter = 9000;

// Paths below the served root, with "/" separators. Both servers cut cut.1
// after 9000 of its 20000 bytes; the HTTP server falls silent after 9000
// bytes of stall.1, and asks for the login below private/.
inline const std::map<std::string, std::string>& ServedFiles() {
    static const std::map<std::string, std::string> files{
        {"pub/setup/files.1", Pattern(20000)},
        {"pub/setup/empty.1", ""},
        {"pub/setup/has404.txt", "404 starts this file, and it is data\n"},
        {"pub/setup/cut.1", Pattern(20000)},
        {"pub/setup/stall.1", Pattern(20000)},
        {"private/secret.1", "for the named user only\n"},
    };
    return files;
}

// The port in an environment variable; 0 when it is not set or not a port.
inline uint16_t PortFromEnvironment(const char* name) {
    const char* text = std::getenv(name);
    if (!text)
        return 0;
    char* end = nullptr;
    long port = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && port > 0 && port < 65536 ? static_cast<uint16_t>(port) : 0;
}

} // namespace nettest
