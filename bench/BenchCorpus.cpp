#include "BenchCorpus.h"

#include "unit/platform/PeVersionTestImage.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

constexpr size_t MB = 1 << 20;

class TCorpusWriter {
  public:
    TCorpusWriter(std::string folder, uint64_t seed) : folder_(std::move(folder)), random_(seed) {
        std::filesystem::create_directories(folder_);
        for (int i = 0; i < 4000; ++i) {
            std::string word;
            const int length = 2 + static_cast<int>(Next() % 9);
            for (int k = 0; k < length; ++k)
                word += static_cast<char>('a' + Next() % 26);
            words_.push_back(word);
        }
    }

    uint64_t Next() { return random_(); }

    // Words drawn with a skewed frequency, in lines.
    std::string Text(size_t size) {
        std::string s;
        s.reserve(size + 16);
        while (s.size() < size) {
            const uint64_t r = Next();
            const size_t index = static_cast<size_t>((r % 4000) * (r % 4000) / 4000);
            s += words_[index];
            s += (r >> 40) % 13 == 0 ? "\r\n" : " ";
        }
        s.resize(size);
        return s;
    }

    // Instruction-like bytes: short repeated patterns with random operands.
    std::string Code(size_t size) {
        static const char* const patterns[] = {"\x55\x8B\xEC", "\x8B\x45\x08", "\xE8",     "\x83\xC4\x08", "\x5D\xC3",
                                               "\x50",         "\x6A\x00",     "\xFF\x15", "\x89\x45\xFC", "\x33\xC0"};
        std::string s;
        s.reserve(size + 8);
        while (s.size() < size) {
            const uint64_t r = Next();
            s += patterns[r % 10];
            if ((r >> 8) % 3 == 0)
                for (int k = 0; k < 4; ++k)
                    s += static_cast<char>((r >> (16 + 8 * k)) & ((r >> 60) ? 0xFF : 0x0F));
        }
        s.resize(size);
        return s;
    }

    std::string Random(size_t size) {
        std::string s(size, '\0');
        for (size_t i = 0; i < size; i += 8) {
            const uint64_t r = Next();
            for (size_t k = 0; k < 8 && i + k < size; ++k)
                s[i + k] = static_cast<char>(r >> (8 * k));
        }
        return s;
    }

    std::string Executable(size_t size, uint32_t versionMS, uint32_t versionLS) {
        sw::test::TFixedFields fields;
        fields.FileMS = versionMS;
        fields.FileLS = versionLS;
        std::string image =
            sw::test::BuildPe({{16, 1, 0x409, sw::test::BuildBlock(sw::test::StandardVersionInfo(fields))}}).Bytes;
        if (image.size() < size)
            image += Code(size - image.size());
        return image;
    }

    void Put(const std::string& name, const std::string& bytes) {
        std::ofstream out(folder_ + "/" + name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + folder_ + "/" + name);
        total_ += bytes.size();
    }

    uint64_t Total() const { return total_; }

  private:
    std::string folder_;
    std::mt19937_64 random_;
    std::vector<std::string> words_;
    uint64_t total_ = 0;
};

} // namespace

uint64_t MakeCorpus(const std::string& folder, uint64_t seed) {
    TCorpusWriter w(folder, seed);
    char name[64];
    w.Put("big.dat", w.Text(20 * MB) + w.Code(10 * MB)); // the one 30 MB file
    for (int i = 0; i < 150; ++i) {
        std::snprintf(name, sizeof name, "text%03d.txt", i);
        w.Put(name, w.Text(40 * MB / 150 + w.Next() % 65536));
    }
    for (int i = 0; i < 60; ++i) {
        std::snprintf(name, sizeof name, "prog%03d.%s", i, i % 3 ? "dll" : "exe");
        w.Put(name, w.Executable(25 * MB / 60 + w.Next() % 65536, 0x00010000u + static_cast<uint32_t>(i),
                                 static_cast<uint32_t>(w.Next() & 0xFFFF)));
    }
    for (int i = 0; i < 40; ++i) {
        std::snprintf(name, sizeof name, "packed%02d.zip", i);
        w.Put(name, w.Random(20 * MB / 40 + w.Next() % 65536));
    }
    for (int i = 0; i < 130; ++i) {
        std::snprintf(name, sizeof name, "tiny%03d.ini", i);
        w.Put(name, w.Text(1 + w.Next() % 2000));
    }
    for (int i = 0; i < 20; ++i) {
        std::snprintf(name, sizeof name, "empty%02d.txt", i);
        w.Put(name, "");
    }
    return w.Total();
}

} // namespace bench
