#include "SetupArchive.h"

#include "archive/ArchiveFormat.h"

#include <initializer_list>
#include <zlib.h>

namespace loader {

namespace {

using sw::archive::kPrefixSize;
using sw::archive::kRecordSize;
using sw::archive::TFileHeaderRecord;

constexpr DWORD kBlock = 64 * 1024;
unsigned char compressed[kBlock];
unsigned char plain[kBlock];

bool ReadAt(HANDLE file, DWORD position, void* buffer, DWORD size) {
    DWORD read = 0;
    return SetFilePointer(file, static_cast<LONG>(position), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
           ReadFile(file, buffer, size, &read, nullptr) && read == size;
}

// Gives the unpacked file the date its entry keeps (days since 30 December
// 1899, local time), so that the setup program unpacked by every run has the
// same date and size: the install record knows the program by them.
void SetEntryDate(HANDLE out, double dayCount) {
    if (!(dayCount > 0 && dayCount < 2958466)) // up to 31 December 9999
        return;
    // 1 January 1601, where file times start, is day -109205.
    const DWORD days = static_cast<DWORD>(dayCount);
    const DWORD seconds = static_cast<DWORD>((dayCount - days) * 86400 + 0.5);
    const ULONGLONG ticks = (static_cast<ULONGLONG>(days + 109205) * 86400 + seconds) * 10000000;
    FILETIME local, utc;
    local.dwLowDateTime = static_cast<DWORD>(ticks);
    local.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    if (LocalFileTimeToFileTime(&local, &utc))
        SetFileTime(out, nullptr, nullptr, &utc);
}

// Whether the part of name before its first dot is a device's (CON, NUL,
// COM1, ...), which Windows opens as the device in any folder.
bool IsDeviceName(const char* name) {
    TText base;
    for (const char* p = name; *p && *p != '.'; ++p)
        base.Add(Upper(*p));
    const char* b = base.c_str();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CLOCK$"})
        if (SameText(b, device))
            return true;
    return base.size() == 4 && b[3] >= '1' && b[3] <= '9' &&
           ((b[0] == 'C' && b[1] == 'O' && b[2] == 'M') || (b[0] == 'L' && b[1] == 'P' && b[2] == 'T'));
}

// A name that stays inside the folder: no path, no device.
bool IsPlainName(const char* name) {
    if (!*name || SameText(name, ".") || SameText(name, "..") || IsDeviceName(name))
        return false;
    for (const char* p = name; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 32 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*')
            return false;
    }
    return true;
}

// Inflates size compressed bytes at position of file into target; the whole
// stream must end exactly there and give sourceSize bytes.
bool InflateEntry(HANDLE file, DWORD position, DWORD size, DWORD sourceSize, HANDLE target, bool& diskProblem) {
    z_stream z = {};
    if (inflateInit(&z) != Z_OK)
        return false;
    int status = Z_OK;
    DWORD left = size;
    while (status != Z_STREAM_END) {
        if (z.avail_in == 0) {
            if (left == 0)
                break;
            const DWORD n = left < kBlock ? left : kBlock;
            if (!ReadAt(file, position + (size - left), compressed, n))
                break;
            left -= n;
            z.next_in = compressed;
            z.avail_in = n;
        }
        z.next_out = plain;
        z.avail_out = kBlock;
        status = inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END)
            break;
        const DWORD produced = kBlock - z.avail_out;
        DWORD written = 0;
        if (produced && (!WriteFile(target, plain, produced, &written, nullptr) || written != produced)) {
            diskProblem = true;
            break;
        }
    }
    const bool whole = status == Z_STREAM_END && left == 0 && z.avail_in == 0 && z.total_out == sourceSize;
    inflateEnd(&z);
    return whole;
}

} // namespace

bool UnpackSetupArchive(HANDLE file, DWORD first, DWORD last, const char* folder, TUnpacked& unpacked,
                        bool& diskProblem) {
    const DWORD length = last - first + 1;
    unsigned char prefix[kPrefixSize];
    if (length < kPrefixSize || !ReadAt(file, first, prefix, kPrefixSize))
        return false;
    const DWORD count = prefix[0] | prefix[1] << 8 | prefix[2] << 16 | static_cast<DWORD>(prefix[3]) << 24;
    if (prefix[4] != 0 || count == 0 || count > (length - kPrefixSize) / kRecordSize)
        return false;
    DWORD position = kPrefixSize;
    for (DWORD k = 0; k < count; ++k) {
        TFileHeaderRecord r;
        if (position > length - kRecordSize || !ReadAt(file, first + position, &r, kRecordSize))
            return false;
        const DWORD dataStart = static_cast<DWORD>(r.DataStart), dataEnd = static_cast<DWORD>(r.DataEnd);
        if (r.SourcePath[0] > sw::archive::kPathCapacity || r.SourceSize < 0 || r.CompressedSize <= 0 ||
            dataStart < position + kRecordSize || dataEnd >= length || dataEnd < dataStart ||
            dataEnd - dataStart + 1 != static_cast<DWORD>(r.CompressedSize))
            return false;
        char path[sw::archive::kPathCapacity + 1] = {};
        for (int i = 0; i < r.SourcePath[0]; ++i)
            path[i] = static_cast<char>(r.SourcePath[1 + i]);
        const char* name = FileNamePart(path);
        if (!IsPlainName(name))
            return false;
        if (k == 0)
            unpacked.SetupProgram += name;
        TText target;
        target += folder;
        target += "\\";
        target += name;
        if (!target.ok())
            return false;
        // A name twice, or one the folder cannot take, is a damaged archive.
        HANDLE out = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE)
            return false;
        const bool whole = InflateEntry(file, first + dataStart, static_cast<DWORD>(r.CompressedSize),
                                        static_cast<DWORD>(r.SourceSize), out, diskProblem);
        if (whole)
            SetEntryDate(out, r.SourceDate);
        CloseHandle(out);
        if (!whole)
            return false;
        if (k + 1 < count) {
            const DWORD next = static_cast<DWORD>(r.NextHeader);
            if (next <= dataEnd || next >= length)
                return false;
            position = next;
        }
    }
    return true;
}

} // namespace loader
