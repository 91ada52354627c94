#include "platform/fake/FakeBatch.h"

#include "platform/CommandLine.h"
#include "platform/fake/FakeFileSystem.h"
#include "project/Text.h"

#include <string_view>
#include <vector>

namespace sw::fake {

namespace {

bool RunLine(FakeFileSystem& files, const std::vector<std::string>& words, size_t first) {
    if (first >= words.size())
        return true;
    const std::string command = LowerCase(words[first]);
    const size_t count = words.size() - first;
    if (command == "if" && count >= 4 && SameText(words[first + 1], "exist"))
        return !files.FileExists(words[first + 2]) || RunLine(files, words, first + 3);
    if (command == "erase" && count == 2)
        return files.DeleteFile(words[first + 1]);
    if (command == "move" && count == 3)
        return files.MoveFile(words[first + 1], words[first + 2]);
    return false;
}

} // namespace

std::optional<uint32_t> RunFakeBatch(FakeFileSystem& files, const std::string& path) {
    if (!files.FileExists(path))
        return std::nullopt;
    const std::string text = files.FileText(path);
    bool worked = true;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::vector<std::string> words = SplitCommandLine(std::string_view(text).substr(start, end - start));
        worked = RunLine(files, words, 0) && worked;
        start = end + 1;
    }
    return worked ? 0u : 1u;
}

} // namespace sw::fake
