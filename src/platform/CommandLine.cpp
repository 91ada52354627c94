#include "platform/CommandLine.h"

namespace sw {

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> args;
    size_t i = 0, n = commandLine.size();
    auto blank = [&](size_t k) { return static_cast<unsigned char>(commandLine[k]) <= ' '; };
    while (true) {
        while (i < n && blank(i))
            ++i;
        if (i >= n)
            break;
        std::string arg;
        bool quoted = false;
        for (; i < n && (quoted || !blank(i)); ++i) {
            if (commandLine[i] == '"')
                quoted = !quoted;
            else
                arg += commandLine[i];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

} // namespace sw
