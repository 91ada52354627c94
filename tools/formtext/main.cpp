// formtext: converts the text form of a project stream to the binary stream and
// back. The direction follows the input: a file beginning with "TPF" or holding
// a NUL byte is binary (a wrong fourth byte is reported as an invalid stream),
// anything else is text.
//
//   formtext <input> <output>
//   formtext --check <input>
#include "project/StreamRecord.h"
#include "project/TextForm.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

namespace {

struct ToolError {
    std::string message;
};

std::string ReadFile(const std::string& name) {
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec))
        throw ToolError{name + ": is a folder, not a file"};
    std::ifstream in(name, std::ios::binary);
    if (!in)
        throw ToolError{name + ": cannot open"};
    try {
        std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.bad())
            return data;
    } catch (const std::exception&) {
    }
    throw ToolError{name + ": cannot read"};
}

// Writes beside the target and renames, so a failure leaves no partial file.
void WriteFile(const std::string& name, const std::string& data) {
    std::string temp = name + ".formtext-tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(data.data(), std::streamsize(data.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            throw ToolError{name + ": cannot write"};
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, name, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw ToolError{name + ": cannot write: " + ec.message()};
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
    std::cerr << "usage: formtext <input> <output>\n"
                 "       formtext --check <input>\n"
                 "Converts a text form to a binary project stream, or a binary stream (beginning with TPF0) "
                 "to its text form.\n";
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
        std::cerr << "formtext: " << e.message << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "formtext: " << e.what() << "\n";
        return 1;
    }
}
