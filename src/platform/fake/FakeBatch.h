// The command interpreter of the fake: runs the batch files the install
// writes on the fake file system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sw::fake {

class FakeFileSystem;

// Runs the batch file at path line by line: "erase FILE", "move FROM TO" (a
// move never replaces a file) and "if exist FILE COMMAND", without regard to
// case; names may be quoted. A line that fails or is not understood does not
// stop the batch, as under Windows. The exit code: 0 when every line worked,
// 1 otherwise. None when the batch cannot be read.
std::optional<uint32_t> RunFakeBatch(FakeFileSystem& files, const std::string& path);

} // namespace sw::fake
