// A separate reader of the archive layout, written from the format's
// description alone (byte offsets, no engine code), run against what the
// engine writes: single archives, carried archives and spanned sets.
#include "ArchiveFixture.h"

#include <zlib.h>

#include <map>

using namespace sw;
using archive_test::ArchiveTest;
using archive_test::SampleBytes;

namespace {

uint32_t U32(const std::string& b, size_t at) {
    if (at + 4 > b.size())
        throw std::runtime_error("read past the end");
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
int32_t I32(const std::string& b, size_t at) { return static_cast<int32_t>(U32(b, at)); }
uint8_t U8(const std::string& b, size_t at) { return static_cast<uint8_t>(b.at(at)); }
std::string Short(const std::string& b, size_t at, size_t capacity) {
    const size_t n = U8(b, at);
    if (n > capacity)
        throw std::runtime_error("short string too long");
    return b.substr(at + 1, n);
}

struct Entry {
    std::string path, version;
    int32_t size = 0, fileID = 0;
    std::string content;
};

// volumes[0] is the archive (or volume 1), read from `offset`.
std::vector<Entry> ReadArchive(const std::vector<std::string>& volumes, size_t offset) {
    const std::string& first = volumes.at(0);
    const int32_t count = I32(first, offset);
    const bool spanned = U8(first, offset + 4) == 1;
    std::vector<Entry> entries;
    size_t p = offset + 5;
    for (int32_t k = 0; k < count; ++k) {
        Entry e;
        e.path = Short(first, p + 20, 100);
        e.version = Short(first, p + 148, 20);
        e.size = I32(first, p + 128);
        e.fileID = I32(first, p + 144);
        const int32_t compressed = I32(first, p + 136);
        const int startDisk = std::max<int>(U8(first, p + 140), 1), endDisk = std::max<int>(U8(first, p + 12), 1);
        const int32_t dataStart = I32(first, p + 132), dataEnd = I32(first, p + 16);
        std::string stream;
        for (int disk = startDisk; disk <= endDisk; ++disk) {
            const std::string& v = volumes.at(static_cast<size_t>(disk - 1));
            const size_t from = disk == startDisk ? offset + static_cast<size_t>(dataStart) : 0;
            const size_t to = disk == endDisk ? offset + static_cast<size_t>(dataEnd) + 1 : v.size();
            stream += v.substr(from, to - from);
        }
        if (static_cast<int32_t>(stream.size()) != compressed)
            throw std::runtime_error("CompressedSize disagrees with DataStart..DataEnd");
        e.content.assign(static_cast<size_t>(e.size), '\0');
        uLongf length = static_cast<uLongf>(e.size);
        if (uncompress(reinterpret_cast<Bytef*>(e.content.data()), &length,
                       reinterpret_cast<const Bytef*>(stream.data()), static_cast<uLong>(stream.size())) != Z_OK ||
            length != static_cast<uLongf>(e.size))
            throw std::runtime_error("bad stream for " + e.path);
        const int32_t next = I32(first, p + 124);
        if (spanned ? next != static_cast<int32_t>(p - offset + 172) : next != dataEnd + 1)
            throw std::runtime_error("NextHeader off the layout");
        if (!spanned && dataStart != static_cast<int32_t>(p - offset + 172))
            throw std::runtime_error("data not right after the record");
        p = offset + static_cast<size_t>(next);
        entries.push_back(std::move(e));
    }
    if (!spanned && p != first.size() && count > 0)
        throw std::runtime_error("bytes after the last entry");
    return entries;
}

class MinimalReaderTest : public ArchiveTest {
  protected:
    TOwned<TPlmrCompress> engine{new TPlmrCompress(nullptr)};
    std::map<std::string, std::string> sources;

    void MakeSources() {
        const size_t sizes[] = {0, 1, 4096, 70000, 250000};
        for (size_t i = 0; i < std::size(sizes); ++i) {
            const std::string path = "C:\\SRC\\M" + std::to_string(i) + ".DAT";
            sources[path] = SampleBytes(sizes[i], static_cast<unsigned>(i + 40));
            Put(path, sources[path]);
        }
        Put("C:\\SRC\\V.DLL", archive_test::VersionedImage(0x00050004, 0x00030002));
        sources["C:\\SRC\\V.DLL"] = Get("C:\\SRC\\V.DLL");
        std::vector<std::string> list;
        for (const auto& [path, bytes] : sources)
            list.push_back(path);
        AddAll(*engine, "C:\\OUT\\FILES.1", list, TlzhCommand::lzcOverwrite, 42);
    }

    void Check(const std::vector<Entry>& entries) {
        ASSERT_EQ(entries.size(), sources.size());
        for (const Entry& e : entries) {
            ASSERT_TRUE(sources.count(e.path)) << e.path;
            EXPECT_EQ(e.content, sources[e.path]) << e.path;
            EXPECT_EQ(e.fileID, 42);
            EXPECT_EQ(e.version, e.path == "C:\\SRC\\V.DLL" ? "5.4.3.2" : "");
        }
    }
};

TEST_F(MinimalReaderTest, ReadsASingleArchive) {
    MakeSources();
    Check(ReadArchive({Get("C:\\OUT\\FILES.1")}, 0));
}

TEST_F(MinimalReaderTest, ReadsACarriedArchive) {
    MakeSources();
    const std::string carried = std::string(40000, 'M') + Get("C:\\OUT\\FILES.1") + "TRAILER";
    // The trailer is not part of the archive: read with the archive's own length.
    Check(ReadArchive({carried.substr(0, carried.size() - 7)}, 40000));
}

TEST_F(MinimalReaderTest, ReadsASpannedSet) {
    MakeSources();
    files().SetFreeSpace('D', 30000);
    std::vector<std::string> volumes;
    engine->OnNewDisk = {"", [&](TPlmrCompress*, int32_t disk, std::string&) {
                             for (const auto& e : files().ListDirectory("D:\\", "*.*")) {
                                 const size_t n = std::stoul(e.Name.substr(e.Name.find('.') + 1));
                                 if (volumes.size() < n)
                                     volumes.resize(n);
                                 volumes[n - 1] = Get("D:\\" + e.Name);
                                 files().DeleteFile("D:\\" + e.Name);
                             }
                             if (disk == 1)
                                 Put("D:\\files.1", volumes[0]);
                         }};
    engine->SetCompressedFile("C:\\OUT\\FILES.1");
    engine->SpanToDisks("D:", "files.1");
    volumes[0] = Get("D:\\files.1");
    ASSERT_GE(volumes.size(), 5u);
    Check(ReadArchive(volumes, 0));
}

} // namespace
