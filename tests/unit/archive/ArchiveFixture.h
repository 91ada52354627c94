// The archive tests' world: a fake platform with drives C: and D: (a small
// "floppy"), helpers to put files and read them back, and versioned images.
#pragma once

#include "archive/PlmrCompress.h"
#include "archive/VersionResource.h"
#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "unit/platform/PeVersionTestImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace archive_test {

// Bytes that compress to some degree and differ per seed.
inline std::string SampleBytes(size_t size, unsigned seed = 1) {
    std::string s(size, '\0');
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        s[i] = static_cast<char>(i % 7 == 0 ? (x >> 16) & 0xFF : 'a' + (x >> 24) % 6);
    }
    return s;
}

// A PE image whose file version is ms.ls (each a pair of 16-bit parts).
inline std::string VersionedImage(uint32_t ms, uint32_t ls) {
    sw::test::TFixedFields fields;
    fields.FileMS = ms;
    fields.FileLS = ls;
    return sw::test::BuildPe({{16, 1, 0x409, sw::test::BuildBlock(sw::test::StandardVersionInfo(fields))}}).Bytes;
}

inline int32_t Le32(const std::string& bytes, size_t at) {
    int32_t v;
    std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

class ArchiveTest : public ::testing::Test {
  protected:
    ArchiveTest() {
        files().AddDrive('D');
        files().CreateDirectory("C:\\SRC");
        files().SetNow(sw::EncodeFileStamp({2001, 2, 3, 4, 5, 6}));
    }

    sw::fake::FakeFileSystem& files() { return platform.Files(); }
    void Put(const std::string& path, const std::string& bytes) { files().PutFile(path, bytes); }
    std::string Get(const std::string& path) { return files().FileText(path); }

    // Adds the files to a new archive (one call per FileID).
    void AddAll(sw::TPlmrCompress& engine, const std::string& archive, const std::vector<std::string>& sources,
                sw::TlzhCommand command = sw::TlzhCommand::lzcOverwrite, int32_t fileID = 0) {
        engine.SetCompressedFile(archive);
        engine.SetFilesToProcess(sources);
        engine.AddFiles(command, fileID);
    }

    void Extract(sw::TPlmrCompress& engine, const std::string& folder, const std::vector<std::string>& names) {
        engine.ExtractDirectory = folder;
        engine.SetFilesToProcess(names);
        engine.ExtractFiles();
    }

    sw::fake::FakePlatform platform;
    sw::ScopedPlatform scoped{platform.Get()};
};

} // namespace archive_test
