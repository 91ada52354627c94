#include "RawZlib.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <stdexcept>

namespace bench {

namespace {

void WriteAll(int fd, const unsigned char* data, size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, data, size);
        if (put <= 0)
            throw std::runtime_error("write failed");
        data += put;
        size -= static_cast<size_t>(put);
    }
}

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

} // namespace

std::vector<TRawEntry> RawDeflate(const std::vector<std::string>& files, const std::string& out) {
    std::vector<TRawEntry> entries;
    const int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot create " + out);
    static unsigned char input[65536], output[65536];
    uint64_t offset = 0;
    for (const std::string& path : files) {
        const int in = ::open(path.c_str(), O_RDONLY);
        if (in < 0)
            throw std::runtime_error("cannot open " + path);
        z_stream z{};
        deflateInit(&z, 9);
        TRawEntry e{BaseName(path), offset, 0, 0};
        int flush = Z_NO_FLUSH;
        do {
            const ssize_t got = ::read(in, input, sizeof input);
            if (got < 0)
                throw std::runtime_error("read failed");
            e.Size += static_cast<uint64_t>(got);
            flush = got == 0 ? Z_FINISH : Z_NO_FLUSH;
            z.next_in = input;
            z.avail_in = static_cast<uInt>(got);
            do {
                z.next_out = output;
                z.avail_out = sizeof output;
                deflate(&z, flush);
                const size_t n = sizeof output - z.avail_out;
                WriteAll(fd, output, n);
                e.Length += n;
            } while (z.avail_out == 0);
        } while (flush != Z_FINISH);
        deflateEnd(&z);
        ::close(in);
        offset += e.Length;
        entries.push_back(e);
    }
    ::close(fd);
    return entries;
}

void RawInflate(const std::string& streams, const std::vector<TRawEntry>& entries, const std::string& folder) {
    const int fd = ::open(streams.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot open " + streams);
    static unsigned char input[65536], window[4096];
    for (const TRawEntry& e : entries) {
        const int out = ::open((folder + "/" + e.Name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0)
            throw std::runtime_error("cannot create " + e.Name);
        ::lseek(fd, static_cast<off_t>(e.Offset), SEEK_SET);
        z_stream z{};
        inflateInit(&z);
        uint64_t left = e.Length;
        int result = Z_OK;
        while (result != Z_STREAM_END) {
            if (z.avail_in == 0) {
                const ssize_t got = ::read(fd, input, std::min<uint64_t>(sizeof input, left));
                if (got <= 0)
                    throw std::runtime_error("stream of " + e.Name + " ends early");
                left -= static_cast<uint64_t>(got);
                z.next_in = input;
                z.avail_in = static_cast<uInt>(got);
            }
            z.next_out = window;
            z.avail_out = sizeof window;
            result = inflate(&z, Z_NO_FLUSH);
            if (result != Z_OK && result != Z_STREAM_END)
                throw std::runtime_error("bad stream for " + e.Name);
            WriteAll(out, window, sizeof window - z.avail_out);
        }
        inflateEnd(&z);
        ::close(out);
    }
    ::close(fd);
}

} // namespace bench
