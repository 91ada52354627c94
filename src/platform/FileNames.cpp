#include "platform/FileNames.h"

#include "project/Text.h"

#include <cstring>
#include <optional>
#include <vector>

namespace sw {

bool IsShortName(const std::string& name) {
    if (name.find_first_of(" +,;=[]") != std::string::npos || name.empty() || name[0] == '.')
        return false;
    size_t dot = name.find('.');
    if (dot == std::string::npos)
        return name.size() <= 8;
    return dot <= 8 && name.find('.', dot + 1) == std::string::npos && name.size() - dot - 1 <= 3;
}

namespace {
std::string ShortPart(const std::string& s, size_t max) {
    std::string out;
    for (char c : s) {
        if (out.size() == max)
            break;
        if (c == ' ' || c == '.')
            continue;
        out += std::strchr("+,;=[]", c) ? '_' : c;
    }
    return UpperCase(out);
}

bool Matches(std::string_view pattern, std::string_view name) {
    if (pattern.empty())
        return name.empty();
    if (pattern[0] == '*')
        return Matches(pattern.substr(1), name) || (!name.empty() && Matches(pattern, name.substr(1)));
    if (name.empty())
        return false;
    if (pattern[0] != '?' && !SameText(pattern.substr(0, 1), name.substr(0, 1)))
        return false;
    return Matches(pattern.substr(1), name.substr(1));
}

} // namespace

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    return Matches(pattern == "*.*" ? "*" : pattern, name);
}

std::string ShortNameCandidate(const std::string& name, int n) {
    size_t dot = name.rfind('.');
    std::string base = ShortPart(name.substr(0, dot == 0 ? std::string::npos : dot), 6);
    std::string ext = dot == 0 || dot == std::string::npos ? "" : ShortPart(name.substr(dot + 1), 3);
    return base + "~" + std::to_string(n) + (ext.empty() ? "" : "." + ext);
}

std::string SetProfileString(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    auto sectionOf = [](const std::string& line) -> std::optional<std::string> {
        std::string t = Trim(line);
        if (t.size() < 2 || t.front() != '[' || t.find(']') == std::string::npos)
            return std::nullopt;
        return Trim(t.substr(1, t.find(']') - 1));
    };
    std::string entry = key + "=" + value;
    size_t i = 0;
    while (i < lines.size() && !(sectionOf(lines[i]) && SameText(*sectionOf(lines[i]), section)))
        ++i;
    if (i == lines.size()) {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    } else {
        size_t last = i;
        bool replaced = false;
        for (size_t j = i + 1; j < lines.size() && !sectionOf(lines[j]); ++j) {
            std::string t = Trim(lines[j]);
            if (t.empty())
                continue;
            last = j;
            size_t eq = t.find('=');
            if (eq != std::string::npos && SameText(Trim(t.substr(0, eq)), key)) {
                lines[j] = Trim(t.substr(0, eq)) + "=" + value;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), entry);
    }
    std::string result;
    for (const auto& line : lines) {
        std::string t = Trim(line);
        size_t eq = t.find('=');
        if (!t.empty() && t[0] != ';' && t[0] != '[' && eq != std::string::npos)
            t = Trim(t.substr(0, eq)) + "=" + Trim(t.substr(eq + 1));
        if (!t.empty())
            result += t + "\r\n";
    }
    return result;
}

std::string WithoutTrailingBackslash(std::string path) {
    if (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace sw
