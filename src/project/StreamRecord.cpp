#include "project/StreamRecord.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace sw {

namespace {

const char* const kReadError = "Stream read error";
const char* const kFormatError = "Invalid stream format";
const char* const kValueError = "Invalid property value";

std::string TooDeep(const char* what, int limit) {
    return std::string(what) + " nested deeper than " + std::to_string(limit);
}

// Where the reader is, for the error report. Updated on the way down and left
// as it stands when a read fails.
struct ReadContext {
    std::string objectName;
    std::string propPath;
};

[[noreturn]] void Fail(const ReadContext& ctx, const TStreamInput& in, const std::string& message) {
    throw EStreamError(message, ctx.objectName, ctx.propPath, in.Position());
}

// Runs a read and turns a bare EReadError from the input into an EStreamError
// that says where it happened.
template <typename F> auto Located(TStreamInput& in, ReadContext& ctx, F read) {
    try {
        return read();
    } catch (const EStreamError&) {
        throw;
    } catch (const EReadError& e) {
        throw EStreamError(e.Message(), ctx.objectName, ctx.propPath, in.Position());
    }
}

bool IsIntegerTag(uint8_t tag) {
    return tag == uint8_t(TValueType::vaInt8) || tag == uint8_t(TValueType::vaInt16) ||
           tag == uint8_t(TValueType::vaInt32);
}

size_t FixedPayloadSize(TValueType t) {
    switch (t) {
    case TValueType::vaExtended:
        return 10;
    case TValueType::vaSingle:
        return 4;
    case TValueType::vaCurrency:
    case TValueType::vaDate:
        return 8;
    default:
        return 0;
    }
}

uint32_t ReadLength(TStreamInput& in, const ReadContext& ctx, size_t unit) {
    uint32_t n = in.ReadUInt32();
    if (n > in.Remaining() / unit)
        Fail(ctx, in, kReadError);
    return n;
}

TStreamValue ReadValueAt(TStreamInput& in, ReadContext& ctx, int depth);

TStreamCollectionItem ReadItem(TStreamInput& in, ReadContext& ctx, int depth) {
    TStreamCollectionItem item;
    if (IsIntegerTag(in.PeekByte())) {
        item.HasIndex = true;
        item.Index = ReadValueAt(in, ctx, depth + 1);
    }
    if (in.PeekByte() != uint8_t(TValueType::vaList))
        Fail(ctx, in, kValueError);
    in.ReadByte();
    while (in.PeekByte() != 0) {
        TStreamProperty prop;
        prop.Path = in.ReadShortString();
        prop.Value = ReadValueAt(in, ctx, depth + 1);
        item.Properties.push_back(std::move(prop));
    }
    in.ReadByte();
    return item;
}

TStreamValue ReadValueAt(TStreamInput& in, ReadContext& ctx, int depth) {
    if (depth > kMaxValueDepth)
        Fail(ctx, in, TooDeep("Values", kMaxValueDepth));
    uint8_t tag = in.PeekByte();
    if (tag > kLastValueType)
        Fail(ctx, in, kValueError);
    in.ReadByte();
    TStreamValue v;
    v.Type = TValueType(tag);
    switch (v.Type) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        break;
    case TValueType::vaList:
        while (in.PeekByte() != 0)
            v.List.push_back(ReadValueAt(in, ctx, depth + 1));
        in.ReadByte();
        break;
    case TValueType::vaInt8:
        v.Int = int8_t(in.ReadByte());
        break;
    case TValueType::vaInt16:
        v.Int = in.ReadInt16();
        break;
    case TValueType::vaInt32:
        v.Int = in.ReadInt32();
        break;
    case TValueType::vaExtended:
    case TValueType::vaSingle:
    case TValueType::vaCurrency:
    case TValueType::vaDate:
        v.Bytes = in.ReadBytes(FixedPayloadSize(v.Type));
        break;
    case TValueType::vaString:
    case TValueType::vaIdent:
        v.Bytes = in.ReadShortString();
        break;
    case TValueType::vaBinary:
    case TValueType::vaLString:
        v.Bytes = in.ReadBytes(ReadLength(in, ctx, 1));
        break;
    case TValueType::vaSet:
        for (std::string name = in.ReadShortString(); !name.empty(); name = in.ReadShortString())
            v.Set.push_back(std::move(name));
        break;
    case TValueType::vaCollection:
        while (in.PeekByte() != 0)
            v.Items.push_back(ReadItem(in, ctx, depth));
        in.ReadByte();
        break;
    case TValueType::vaWString: {
        uint32_t n = ReadLength(in, ctx, 2);
        std::string_view raw = in.ReadBytes(size_t(n) * 2);
        v.Wide.resize(n);
        for (uint32_t i = 0; i < n; ++i)
            v.Wide[i] = char16_t(uint8_t(raw[2 * i]) | (uint8_t(raw[2 * i + 1]) << 8));
        break;
    }
    }
    return v;
}

void SkipValueAt(TStreamInput& in, const ReadContext& ctx, int depth) {
    if (depth > kMaxValueDepth)
        Fail(ctx, in, TooDeep("Values", kMaxValueDepth));
    uint8_t tag = in.PeekByte();
    if (tag > kLastValueType)
        Fail(ctx, in, kValueError);
    in.ReadByte();
    auto type = TValueType(tag);
    switch (type) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        break;
    case TValueType::vaList:
        while (in.PeekByte() != 0)
            SkipValueAt(in, ctx, depth + 1);
        in.ReadByte();
        break;
    case TValueType::vaInt8:
        in.ReadBytes(1);
        break;
    case TValueType::vaInt16:
        in.ReadBytes(2);
        break;
    case TValueType::vaInt32:
        in.ReadBytes(4);
        break;
    case TValueType::vaExtended:
    case TValueType::vaSingle:
    case TValueType::vaCurrency:
    case TValueType::vaDate:
        in.ReadBytes(FixedPayloadSize(type));
        break;
    case TValueType::vaString:
    case TValueType::vaIdent:
        in.ReadBytes(in.ReadByte());
        break;
    case TValueType::vaBinary:
    case TValueType::vaLString:
        in.ReadBytes(ReadLength(in, ctx, 1));
        break;
    case TValueType::vaSet:
        for (uint8_t n = in.ReadByte(); n != 0; n = in.ReadByte())
            in.ReadBytes(n);
        break;
    case TValueType::vaCollection:
        while (in.PeekByte() != 0) {
            if (IsIntegerTag(in.PeekByte()))
                SkipValueAt(in, ctx, depth + 1);
            if (in.ReadByte() != uint8_t(TValueType::vaList))
                Fail(ctx, in, kValueError);
            while (in.PeekByte() != 0) {
                in.ReadBytes(in.ReadByte());
                SkipValueAt(in, ctx, depth + 1);
            }
            in.ReadByte();
        }
        in.ReadByte();
        break;
    case TValueType::vaWString:
        in.ReadBytes(size_t(ReadLength(in, ctx, 2)) * 2);
        break;
    }
}

TObjectRecord ReadRecordAt(TStreamInput& in, ReadContext& ctx, int depth) {
    ctx.objectName.clear();
    ctx.propPath.clear();
    if (depth > kMaxObjectDepth)
        Fail(ctx, in, TooDeep("Objects", kMaxObjectDepth));
    TObjectRecord rec;
    if (in.PeekByte() >= 0xF0) {
        rec.HasPrefix = true;
        rec.Flags = in.ReadByte() & 0x0F;
        if (rec.Flags & ffChildPos) {
            // The position is a value like any other: a wrong kind is a wrong value.
            if (!IsIntegerTag(in.PeekByte()))
                Fail(ctx, in, kValueError);
            rec.Position = ReadValueAt(in, ctx, 1);
        }
    }
    rec.ClassName = in.ReadShortString();
    rec.Name = in.ReadShortString();
    ctx.objectName = rec.Name;
    while (in.PeekByte() != 0) {
        TStreamProperty prop;
        prop.Path = in.ReadShortString();
        ctx.propPath = prop.Path;
        prop.Value = ReadValueAt(in, ctx, 1);
        ctx.propPath.clear();
        rec.Properties.push_back(std::move(prop));
    }
    in.ReadByte();
    while (in.PeekByte() != 0) {
        rec.Children.push_back(ReadRecordAt(in, ctx, depth + 1));
        ctx.objectName = rec.Name;
    }
    in.ReadByte();
    return rec;
}

// Writing.

void Put16(std::string& out, uint16_t v) {
    out += char(v & 0xFF);
    out += char(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

[[noreturn]] void Unwritable(const std::string& what) { throw EFilerError("Cannot write stream: " + what); }

void PutShortString(std::string& out, std::string_view s, const char* what) {
    if (s.size() > kMaxShortString)
        Unwritable(std::string(what) + " longer than 255 bytes");
    out += char(s.size());
    out += s;
}

void PutLength(std::string& out, size_t n) {
    if (n > std::numeric_limits<uint32_t>::max())
        Unwritable("value longer than 4 GB");
    Put32(out, uint32_t(n));
}

void PutIntegerValue(std::string& out, const TStreamValue& v, const char* what) {
    if (!v.IsInteger())
        Unwritable(std::string(what) + " is not an integer");
    WriteValue(out, v);
}

void PutProperties(std::string& out, const std::vector<TStreamProperty>& props) {
    for (const TStreamProperty& p : props) {
        if (p.Path.empty())
            Unwritable("empty property path");
        PutShortString(out, p.Path, "property path");
        WriteValue(out, p.Value);
    }
    out += '\0';
}

void PutRecord(std::string& out, const TObjectRecord& rec, bool child) {
    bool prefix = rec.HasPrefix || rec.Flags != 0;
    if (rec.Flags > 0x0F)
        Unwritable("prefix flags above 15");
    if (!prefix && (rec.ClassName.size() >= 0xF0 || (child && rec.ClassName.empty())))
        Unwritable("class name \"" + rec.ClassName + "\" needs a prefix byte");
    if (prefix) {
        out += char(0xF0 | rec.Flags);
        if (rec.Flags & ffChildPos)
            PutIntegerValue(out, rec.Position, "child position");
    }
    PutShortString(out, rec.ClassName, "class name");
    PutShortString(out, rec.Name, "object name");
    PutProperties(out, rec.Properties);
    for (const TObjectRecord& c : rec.Children)
        PutRecord(out, c, true);
    out += '\0';
}

} // namespace

uint8_t TStreamInput::PeekByte() const {
    if (AtEnd())
        throw EReadError(kReadError);
    return uint8_t(data_[pos_]);
}

uint8_t TStreamInput::ReadByte() {
    uint8_t b = PeekByte();
    ++pos_;
    return b;
}

std::string_view TStreamInput::ReadBytes(size_t n) {
    if (n > Remaining())
        throw EReadError(kReadError);
    std::string_view r = data_.substr(pos_, n);
    pos_ += n;
    return r;
}

int16_t TStreamInput::ReadInt16() {
    std::string_view b = ReadBytes(2);
    return int16_t(uint16_t(uint8_t(b[0]) | (uint8_t(b[1]) << 8)));
}

uint32_t TStreamInput::ReadUInt32() {
    std::string_view b = ReadBytes(4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | uint8_t(b[i]);
    return v;
}

int32_t TStreamInput::ReadInt32() { return int32_t(ReadUInt32()); }

std::string TStreamInput::ReadShortString() {
    uint8_t n = ReadByte();
    return std::string(ReadBytes(n));
}

bool TStreamValue::IsInteger() const {
    return Type == TValueType::vaInt8 || Type == TValueType::vaInt16 || Type == TValueType::vaInt32;
}

TStreamValue TStreamValue::Integer(int32_t v) {
    TStreamValue r;
    r.Int = v;
    if (v >= -128 && v <= 127)
        r.Type = TValueType::vaInt8;
    else if (v >= -32768 && v <= 32767)
        r.Type = TValueType::vaInt16;
    else
        r.Type = TValueType::vaInt32;
    return r;
}

TStreamValue TStreamValue::String(std::string s) {
    TStreamValue r;
    r.Type = s.size() > kMaxShortString ? TValueType::vaLString : TValueType::vaString;
    r.Bytes = std::move(s);
    return r;
}

TStreamValue TStreamValue::Ident(std::string s) {
    TStreamValue r;
    r.Type = TValueType::vaIdent;
    r.Bytes = std::move(s);
    return r;
}

TStreamValue TStreamValue::Boolean(bool b) {
    TStreamValue r;
    r.Type = b ? TValueType::vaTrue : TValueType::vaFalse;
    return r;
}

TStreamValue ReadValue(TStreamInput& in) {
    ReadContext ctx;
    return Located(in, ctx, [&] { return ReadValueAt(in, ctx, 1); });
}

void SkipValue(TStreamInput& in) {
    ReadContext ctx;
    Located(in, ctx, [&] { SkipValueAt(in, ctx, 1); });
}

TObjectRecord ReadObjectRecord(TStreamInput& in) {
    ReadContext ctx;
    return Located(in, ctx, [&] { return ReadRecordAt(in, ctx, 1); });
}

TObjectRecord ReadStreamRecords(std::string_view bytes) {
    TStreamInput in(bytes);
    if (bytes.size() < sizeof kStreamSignature)
        throw EStreamError(kReadError, "", "", bytes.size());
    if (std::memcmp(bytes.data(), kStreamSignature, sizeof kStreamSignature) != 0)
        throw EStreamError(kFormatError, "", "", 0);
    in.ReadBytes(sizeof kStreamSignature);
    return ReadObjectRecord(in);
}

void WriteValue(std::string& out, const TStreamValue& v) {
    out += char(v.Type);
    switch (v.Type) {
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        break;
    case TValueType::vaList:
        for (const TStreamValue& e : v.List) {
            if (e.Type == TValueType::vaNull)
                Unwritable("vaNull inside a list");
            WriteValue(out, e);
        }
        out += '\0';
        break;
    case TValueType::vaInt8:
        if (v.Int < -128 || v.Int > 127)
            Unwritable("vaInt8 value out of range");
        out += char(int8_t(v.Int));
        break;
    case TValueType::vaInt16:
        if (v.Int < -32768 || v.Int > 32767)
            Unwritable("vaInt16 value out of range");
        Put16(out, uint16_t(int16_t(v.Int)));
        break;
    case TValueType::vaInt32:
        Put32(out, uint32_t(v.Int));
        break;
    case TValueType::vaExtended:
    case TValueType::vaSingle:
    case TValueType::vaCurrency:
    case TValueType::vaDate:
        if (v.Bytes.size() != FixedPayloadSize(v.Type))
            Unwritable("float payload of the wrong size");
        out += v.Bytes;
        break;
    case TValueType::vaString:
    case TValueType::vaIdent:
        PutShortString(out, v.Bytes, v.Type == TValueType::vaString ? "short string" : "identifier");
        break;
    case TValueType::vaBinary:
    case TValueType::vaLString:
        PutLength(out, v.Bytes.size());
        out += v.Bytes;
        break;
    case TValueType::vaSet:
        for (const std::string& name : v.Set) {
            if (name.empty())
                Unwritable("empty set element");
            PutShortString(out, name, "set element");
        }
        out += '\0';
        break;
    case TValueType::vaCollection:
        for (const TStreamCollectionItem& item : v.Items) {
            if (item.HasIndex)
                PutIntegerValue(out, item.Index, "collection item index");
            out += char(TValueType::vaList);
            PutProperties(out, item.Properties);
        }
        out += '\0';
        break;
    case TValueType::vaWString:
        PutLength(out, v.Wide.size());
        for (char16_t u : v.Wide)
            Put16(out, uint16_t(u));
        break;
    default:
        Unwritable("unknown value type " + std::to_string(int(v.Type)));
    }
}

void WriteObjectRecord(std::string& out, const TObjectRecord& rec) { PutRecord(out, rec, false); }

std::string WriteStreamRecords(const TObjectRecord& root) {
    std::string out(kStreamSignature, sizeof kStreamSignature);
    WriteObjectRecord(out, root);
    return out;
}

// 80-bit extended: 64-bit mantissa with an explicit integer bit, then 15 bits
// of exponent (bias 16383) and the sign bit, little-endian.
long double ExtendedToLongDouble(std::string_view raw10) {
    if (raw10.size() != 10)
        throw EReadError(kReadError);
    uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i)
        mantissa = (mantissa << 8) | uint8_t(raw10[i]);
    unsigned se = uint8_t(raw10[8]) | (uint8_t(raw10[9]) << 8);
    bool negative = se & 0x8000;
    int exponent = int(se & 0x7FFF);
    long double v;
    if (exponent == 0x7FFF) {
        bool inf = (mantissa << 1) == 0;
        v = inf ? std::numeric_limits<long double>::infinity() : std::numeric_limits<long double>::quiet_NaN();
    } else {
        // Denormals use the exponent of the smallest normal.
        v = std::ldexp(static_cast<long double>(mantissa), (exponent == 0 ? 1 : exponent) - 16383 - 63);
    }
    return negative ? -v : v;
}

std::string LongDoubleToExtended(long double v) {
    uint64_t mantissa = 0;
    unsigned exponent = 0;
    if (std::isnan(v)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(v)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (v != 0) {
        int e = 0;
        long double f = std::frexp(std::fabs(v), &e); // |v| = f * 2^e, 0.5 <= f < 1
        int biased = e - 1 + 16383;
        if (biased >= 0x7FFF) {
            exponent = 0x7FFF;
            mantissa = 0x8000000000000000ull;
        } else if (biased > 0) {
            exponent = unsigned(biased);
            mantissa = static_cast<uint64_t>(std::ldexp(f, 64));
        } else if (biased > -64) {
            mantissa = static_cast<uint64_t>(std::ldexp(f, 64 + biased - 1));
        }
    }
    unsigned se = exponent | (std::signbit(v) ? 0x8000u : 0u);
    std::string raw(10, '\0');
    for (int i = 0; i < 8; ++i)
        raw[i] = char((mantissa >> (8 * i)) & 0xFF);
    raw[8] = char(se & 0xFF);
    raw[9] = char(se >> 8);
    return raw;
}

bool operator==(const TStreamValue& a, const TStreamValue& b) {
    if (a.Type != b.Type)
        return false;
    switch (a.Type) {
    case TValueType::vaInt8:
    case TValueType::vaInt16:
    case TValueType::vaInt32:
        return a.Int == b.Int;
    case TValueType::vaList:
        return a.List == b.List;
    case TValueType::vaSet:
        return a.Set == b.Set;
    case TValueType::vaCollection:
        return a.Items == b.Items;
    case TValueType::vaWString:
        return a.Wide == b.Wide;
    case TValueType::vaNull:
    case TValueType::vaFalse:
    case TValueType::vaTrue:
    case TValueType::vaNil:
        return true;
    default:
        return a.Bytes == b.Bytes;
    }
}

bool operator==(const TStreamProperty& a, const TStreamProperty& b) { return a.Path == b.Path && a.Value == b.Value; }

bool operator==(const TStreamCollectionItem& a, const TStreamCollectionItem& b) {
    return a.HasIndex == b.HasIndex && (!a.HasIndex || a.Index == b.Index) && a.Properties == b.Properties;
}

bool operator==(const TObjectRecord& a, const TObjectRecord& b) {
    return a.HasPrefix == b.HasPrefix && a.Flags == b.Flags && (!(a.Flags & ffChildPos) || a.Position == b.Position) &&
           a.ClassName == b.ClassName && a.Name == b.Name && a.Properties == b.Properties && a.Children == b.Children;
}

} // namespace sw
