// The project stream as a generic tree of records and values, independent of
// any component class. The binary reader and writer here are exact inverses:
// every tag, prefix and integer width read is kept, so writing a tree that was
// read reproduces the bytes. The component reader (Reader.h) applies a tree to
// live components; the text form (TextForm.h) prints and parses the same tree.
#pragma once

#include "project/Errors.h"
#include "project/StreamFormat.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sw {

struct TStreamProperty;
struct TStreamCollectionItem;

struct TStreamValue {
    TValueType Type = TValueType::vaNull;
    int32_t Int = 0;                // vaInt8, vaInt16, vaInt32
    std::string Bytes;              // vaString, vaIdent, vaLString, vaBinary: the text or data;
                                    // vaExtended (10), vaSingle (4), vaCurrency (8), vaDate (8): the raw payload
    std::u16string Wide;            // vaWString
    std::vector<TStreamValue> List; // vaList
    std::vector<std::string> Set;   // vaSet: element names
    std::vector<TStreamCollectionItem> Items; // vaCollection

    bool IsInteger() const;
    // Convenience constructors for writers and tests.
    static TStreamValue Integer(int32_t v);    // the smallest integer tag that holds v
    static TStreamValue String(std::string s); // vaString, or vaLString above 255 bytes
    static TStreamValue Ident(std::string s);
    static TStreamValue Boolean(bool b);
};

struct TStreamProperty {
    std::string Path; // "Name" or "Nested.Name"
    TStreamValue Value;
};

struct TStreamCollectionItem {
    bool HasIndex = false;
    TStreamValue Index; // an integer value when HasIndex
    std::vector<TStreamProperty> Properties;
};

struct TObjectRecord {
    bool HasPrefix = false; // a prefix byte was present (even with no flags)
    uint8_t Flags = 0;      // ffInherited | ffChildPos
    TStreamValue Position;  // integer value, when Flags has ffChildPos
    std::string ClassName;
    std::string Name;
    std::vector<TStreamProperty> Properties;
    std::vector<TObjectRecord> Children;
};

// A failure while parsing a stream. Message() is the bare message ("Stream
// read error", "Invalid stream format", "Invalid property value"); ObjectName
// and PropPath say where it happened (for the "Error reading %s%s%s: %s"
// report), Offset the byte position.
class EStreamError : public EReadError {
  public:
    EStreamError(std::string message, std::string objectName, std::string propPath, size_t offset)
        : EReadError(std::move(message)), ObjectName(std::move(objectName)), PropPath(std::move(propPath)),
          Offset(offset) {}
    std::string ObjectName;
    std::string PropPath;
    size_t Offset;
};

// Sequential reader over stream bytes. Every read past the end raises
// EReadError("Stream read error"); nothing is allocated beyond the input size.
class TStreamInput {
  public:
    explicit TStreamInput(std::string_view bytes) : data_(bytes) {}
    size_t Position() const { return pos_; }
    size_t Remaining() const { return data_.size() - pos_; }
    bool AtEnd() const { return pos_ >= data_.size(); }
    uint8_t PeekByte() const;
    uint8_t ReadByte();
    std::string_view ReadBytes(size_t n);
    int16_t ReadInt16();
    int32_t ReadInt32();
    uint32_t ReadUInt32();
    std::string ReadShortString();

  private:
    std::string_view data_;
    size_t pos_ = 0;
};

// Reads one value (tag and payload). Unknown tags raise "Invalid property value";
// lists, sets and collections nested deeper than kMaxValueDepth raise "Values
// nested deeper than 64", object records deeper than kMaxObjectDepth "Objects
// nested deeper than 64": the limits keep a hostile stream from exhausting the
// stack.
TStreamValue ReadValue(TStreamInput& in);
// Steps over one value without building it (lists, sets and collections
// recursively; binary values and long strings by their length).
void SkipValue(TStreamInput& in);

inline constexpr int kMaxValueDepth = 64;
inline constexpr int kMaxObjectDepth = 64;

// Parses a whole stream: the signature ("Invalid stream format" when wrong,
// "Stream read error" when the stream is shorter than it) and the root record. Bytes after the root record are ignored.
// Raises EStreamError.
TObjectRecord ReadStreamRecords(std::string_view bytes);
// Parses one object record at the current position.
TObjectRecord ReadObjectRecord(TStreamInput& in);

void WriteValue(std::string& out, const TStreamValue& v);
void WriteObjectRecord(std::string& out, const TObjectRecord& rec);
// Signature and the root record.
std::string WriteStreamRecords(const TObjectRecord& root);

// Exact conversions of the fixed-size float payloads.
long double ExtendedToLongDouble(std::string_view raw10);
std::string LongDoubleToExtended(long double v);

// The writers raise EFilerError for a tree the format cannot hold: a short
// string over 255 bytes, an empty property path or set element, vaNull inside a
// list, a fixed-size float payload of the wrong size, a non-integer position or
// item index, or a class name that would read back as a prefix or list end.

// Structural equality: the same tags, payloads, prefixes and order. Fields a
// value's tag does not use are ignored, as is Position without ffChildPos.
bool operator==(const TStreamValue& a, const TStreamValue& b);
bool operator==(const TStreamProperty& a, const TStreamProperty& b);
bool operator==(const TStreamCollectionItem& a, const TStreamCollectionItem& b);
bool operator==(const TObjectRecord& a, const TObjectRecord& b);

} // namespace sw
