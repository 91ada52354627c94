// formtext: converts the text form of a project stream to the binary stream and
// back. The direction follows the input: a file beginning with "TPF" or holding
// a NUL byte is binary (a wrong fourth byte is reported as an invalid stream),
// anything else is text.
//
//   formtext <input> <output>
//   formtext --check <input>
#include "project/StreamRecord.h"
#include "project/TextForm.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <sys/stat.h>

namespace {

struct ToolError {
    std::string message;
};

// Files and messages through <cstdio>: the C++ library's streams and filesystem import functions that
// Windows 95 and NT 4.0 lack.
using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::string ReadFile(const std::string& name) {
    struct stat info;
    if (stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw ToolError{name + ": is a folder, not a file"};
    FilePtr in(std::fopen(name.c_str(), "rb"), std::fclose);
    if (!in)
        throw ToolError{name + ": cannot open"};
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in.get())) > 0)
        data.append(buffer, n);
    if (std::ferror(in.get()))
        throw ToolError{name + ": cannot read"};
    return data;
}

// Moves from over to. std::rename replaces an existing file on POSIX only; on Windows the old file goes
// first.
bool Replace(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
#ifdef _WIN32
    return std::remove(to.c_str()) == 0 && std::rename(from.c_str(), to.c_str()) == 0;
#else
    return false;
#endif
}

// Writes beside the target and renames, so a failure leaves no partial file.
void WriteFile(const std::string& name, const std::string& data) {
    std::string temp = name + ".formtext-tmp";
    std::FILE* out = std::fopen(temp.c_str(), "wb");
    if (!out)
        throw ToolError{name + ": cannot write"};
    bool written = std::fwrite(data.data(), 1, data.size(), out) == data.size();
    if (std::fclose(out) != 0 || !written) {
        std::remove(temp.c_str());
        throw ToolError{name + ": cannot write"};
    }
    if (!Replace(temp, name)) {
        std::string reason = std::strerror(errno);
        std::remove(temp.c_str());
        throw ToolError{name + ": cannot write: " + reason};
    }
}

bool IsBinary(const std::string& data) {
    constexpr size_t prefix = sizeof sw::kStreamSignature - 1;
    return data.compare(0, prefix, sw::kStreamSignature, prefix) == 0 || data.find('\0') != std::string::npos;
}

// The converted form of the input: text for a binary stream, binary for text.
std::string Convert(const std::string& name, const std::string& data) {
    try {
        if (IsBinary(data))
            return sw::RecordsToText(sw::ReadStreamRecords(data));
        return sw::WriteStreamRecords(sw::TextToRecords(data, name));
    } catch (const sw::EStreamError& e) {
        std::string where = e.ObjectName + (e.PropPath.empty() ? "" : "." + e.PropPath);
        throw ToolError{name + "(offset " + std::to_string(e.Offset) +
                        "): " + (where.empty() ? "" : "Error reading " + where + ": ") + e.Message()};
    } catch (const sw::ETextFormError& e) {
        throw ToolError{e.Message()};
    } catch (const sw::Exception& e) {
        throw ToolError{name + ": " + e.Message()};
    }
}

int Usage() {
    std::fputs("usage: formtext <input> <output>\n"
               "       formtext --check <input>\n"
               "Converts a text form to a binary project stream, or a binary stream (beginning with TPF0) "
               "to its text form.\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        return Usage();
    bool check = std::strcmp(argv[1], "--check") == 0;
    try {
        std::string input = check ? argv[2] : argv[1];
        std::string result = Convert(input, ReadFile(input));
        if (!check)
            WriteFile(argv[2], result);
        return 0;
    } catch (const ToolError& e) {
        std::fprintf(stderr, "formtext: %s\n", e.message.c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "formtext: %s\n", e.what());
        return 1;
    }
}
