// Version resources: the VS_VERSIONINFO block of a file and the queries on it.
//
// A block is a tree of nodes, each aligned to 32 bits from the block start:
//
//   32-bit form (PE files)            16-bit form (NE files)
//   uint16 wLength (whole node)       uint16 wLength
//   uint16 wValueLength               uint16 wValueLength (bytes)
//   uint16 wType (1 text, 0 binary)   char   szKey[] (NUL-terminated)
//   char16 szKey[] (NUL-terminated)   padding, Value, padding, Children
//   padding, Value, padding, Children
//
// wValueLength counts characters for text and bytes for binary values. The
// root ("VS_VERSION_INFO") holds a VS_FIXEDFILEINFO; below it the strings sit
// at \StringFileInfo\<language and code page>\<name> and the translation list
// at \VarFileInfo\Translation. Queries work on both forms and on blocks from
// either backend; they never read outside the block and its root's wLength.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

class IFileSystem;

// VS_FIXEDFILEINFO.
struct TFixedFileInfo {
    static constexpr uint32_t kSignature = 0xFEEF04BD;
    uint32_t Signature = 0;
    uint32_t StrucVersion = 0;
    uint32_t FileVersionMS = 0;
    uint32_t FileVersionLS = 0;
    uint32_t ProductVersionMS = 0;
    uint32_t ProductVersionLS = 0;
    uint32_t FileFlagsMask = 0;
    uint32_t FileFlags = 0;
    uint32_t FileOS = 0;
    uint32_t FileType = 0;
    uint32_t FileSubtype = 0;
    uint32_t FileDateMS = 0;
    uint32_t FileDateLS = 0;

    bool operator==(const TFixedFileInfo&) const = default;
};

// The root's fixed information; nothing when it is missing, short or its
// signature is wrong.
std::optional<TFixedFileInfo> QueryFixedFileInfo(std::string_view block);

// The text at a path such as "\StringFileInfo\040904E4\CompanyName" (keys
// match without regard to case, empty path components are skipped). Text of
// the 32-bit form is converted to 8 bits: code units up to 0xFF map to the
// byte of the same value, others to '?'. The text ends at its first NUL.
std::optional<std::string> QueryStringValue(std::string_view block, std::string_view path);

// \VarFileInfo\Translation: language identifier in the low word, code page
// in the high word.
std::optional<std::vector<uint32_t>> QueryTranslations(std::string_view block);

// The system's version functions (size query and fetch) on one file.
class IVersionResources {
  public:
    virtual ~IVersionResources() = default;

    // The version block of the file; nothing when the file has none or
    // cannot be read.
    virtual std::optional<std::string> GetFileVersionInfo(const std::string& path) = 0;
};

// Reads the file through the platform's file interface and finds the block
// with the executable-image parser, so every build reads real versions.
class TPortableVersionResources : public IVersionResources {
  public:
    explicit TPortableVersionResources(IFileSystem& files) : files_(files) {}
    std::optional<std::string> GetFileVersionInfo(const std::string& path) override;

  private:
    IFileSystem& files_;
};

} // namespace sw
