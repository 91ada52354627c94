// The printer of the text form. Anything the minimal encoding would not
// reproduce carries an annotation (Int32(5), LString('x'), Prefix($F0), ...).
#include "project/TextForm.h"

#include "project/TextFormSyntax.h"

#include <cstdio>

namespace sw {

using namespace textform;

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

std::string Hex(std::string_view bytes) {
    std::string s;
    for (char c : bytes) {
        s += kHexDigits[uint8_t(c) >> 4];
        s += kHexDigits[uint8_t(c) & 15];
    }
    return s;
}

// One run of characters as quoted pieces and #nn codes.
template <typename Unit> void AppendLiteral(std::string& out, const Unit* units, size_t n) {
    bool quoted = false;
    for (size_t i = 0; i < n; ++i) {
        uint32_t u = uint32_t(units[i]);
        if (u >= 32 && u < 127) {
            if (!quoted)
                out += '\'';
            quoted = true;
            out += char(u);
            if (u == '\'')
                out += '\'';
        } else {
            if (quoted)
                out += '\'';
            quoted = false;
            out += '#' + std::to_string(u);
        }
    }
    if (quoted)
        out += '\'';
}

// Unit is unsigned char for 8-bit text, char16_t for wide text.
template <typename Unit> std::string Literal(const Unit* units, size_t n, const std::string& indent) {
    if (n == 0)
        return "''";
    std::string out;
    size_t start = 0;
    while (start < n) {
        size_t end = start;
        while (end < n && end - start < kStringChunk && (end == start || units[end - 1] != '\n'))
            ++end;
        if (start > 0)
            out += " +\n" + indent + "  ";
        AppendLiteral(out, units + start, end - start);
        start = end;
    }
    return out;
}

std::string Literal(const std::string& s, const std::string& indent) {
    return Literal(reinterpret_cast<const unsigned char*>(s.data()), s.size(), indent);
}

std::string NameText(const std::string& s, bool dotted) { return IsPlainName(s, dotted) ? s : Literal(s, ""); }

class Printer {
  public:
    std::string out;

    void Object(const TObjectRecord& rec, const std::string& indent) {
        out += indent + ((rec.Flags & ffInherited) ? "inherited " : "object ");
        out += NameText(rec.Name, false) + ": " + NameText(rec.ClassName, false);
        if (rec.Flags & ffChildPos)
            out += " [" + Value(rec.Position, indent) + "]";
        if ((rec.Flags & 0x0C) || (rec.HasPrefix && (rec.Flags & 3) == 0)) {
            out += " Prefix($F";
            out += kHexDigits[rec.Flags & 15];
            out += ')';
        }
        out += '\n';
        Properties(rec.Properties, indent + "  ");
        for (const TObjectRecord& c : rec.Children)
            Object(c, indent + "  ");
        out += indent + "end\n";
    }

  private:
    void Properties(const std::vector<TStreamProperty>& props, const std::string& indent) {
        for (const TStreamProperty& p : props)
            out += indent + NameText(p.Path, true) + " = " + Value(p.Value, indent) + "\n";
    }

    std::string Value(const TStreamValue& v, const std::string& indent) {
        switch (v.Type) {
        case TValueType::vaNull:
            return "Null()";
        case TValueType::vaList: {
            std::string s = "(";
            for (const TStreamValue& e : v.List)
                s += "\n" + indent + "  " + Value(e, indent + "  ");
            return s + ")";
        }
        case TValueType::vaInt8:
            return std::to_string(v.Int);
        case TValueType::vaInt16:
        case TValueType::vaInt32:
            if (TStreamValue::Integer(v.Int).Type == v.Type)
                return std::to_string(v.Int);
            return (v.Type == TValueType::vaInt16 ? "Int16(" : "Int32(") + std::to_string(v.Int) + ")";
        case TValueType::vaExtended:
            return Float("Extended", ExtendedToDecimal(v.Bytes), v.Bytes, false);
        case TValueType::vaSingle:
            return Float("Single", SingleToDecimal(v.Bytes), v.Bytes, true);
        case TValueType::vaDate:
            return Float("Date", DoubleToDecimal(v.Bytes), v.Bytes, true);
        case TValueType::vaCurrency:
            return "Currency(" + Currency(v.Bytes) + ")";
        case TValueType::vaString:
            return Literal(v.Bytes, indent);
        case TValueType::vaLString:
            if (v.Bytes.size() > kMaxShortString)
                return Literal(v.Bytes, indent);
            return "LString(" + Literal(v.Bytes, indent) + ")";
        case TValueType::vaWString:
            return "WString(" + Literal(v.Wide.data(), v.Wide.size(), indent) + ")";
        case TValueType::vaIdent:
            if (IsPlainName(v.Bytes, true) && !IsValueKeyword(v.Bytes))
                return v.Bytes;
            return "Ident(" + Literal(v.Bytes, indent) + ")";
        case TValueType::vaFalse:
            return "False";
        case TValueType::vaTrue:
            return "True";
        case TValueType::vaNil:
            return "nil";
        case TValueType::vaBinary:
            return Binary(v.Bytes, indent);
        case TValueType::vaSet: {
            std::string s = "[";
            for (size_t i = 0; i < v.Set.size(); ++i)
                s += (i ? ", " : "") + NameText(v.Set[i], false);
            return s + "]";
        }
        case TValueType::vaCollection:
            return Collection(v, indent);
        }
        return "Null()";
    }

    static std::string Float(const char* kind, const std::string& decimal, const std::string& raw, bool annotate) {
        if (decimal.empty())
            return std::string(kind) + "({" + Hex(raw) + "})";
        return annotate ? std::string(kind) + "(" + decimal + ")" : decimal;
    }

    static std::string Currency(const std::string& raw) {
        uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = (bits << 8) | uint8_t(raw.size() == 8 ? raw[i] : 0);
        bool negative = bits >> 63;
        uint64_t magnitude = negative ? 0 - bits : bits;
        std::string s = (negative ? "-" : "") + std::to_string(magnitude / 10000);
        if (uint64_t frac = magnitude % 10000) {
            char buf[8];
            std::snprintf(buf, sizeof buf, ".%04u", unsigned(frac));
            std::string f = buf;
            while (f.back() == '0')
                f.pop_back();
            s += f;
        }
        return s;
    }

    static std::string Binary(const std::string& bytes, const std::string& indent) {
        if (bytes.size() <= kBytesPerBinaryLine)
            return "{" + Hex(bytes) + "}";
        std::string s = "{";
        for (size_t i = 0; i < bytes.size(); i += kBytesPerBinaryLine)
            s += "\n" + indent + "  " + Hex(std::string_view(bytes).substr(i, kBytesPerBinaryLine));
        return s + "}";
    }

    std::string Collection(const TStreamValue& v, const std::string& indent) {
        std::string saved;
        saved.swap(out);
        out = "<";
        for (const TStreamCollectionItem& item : v.Items) {
            out += "\n" + indent + "  item";
            if (item.HasIndex)
                out += " [" + Value(item.Index, indent) + "]";
            out += "\n";
            Properties(item.Properties, indent + "    ");
            out += indent + "  end";
        }
        out += ">";
        saved.swap(out);
        return saved;
    }
};

} // namespace

std::string RecordsToText(const TObjectRecord& root) {
    Printer p;
    p.Object(root, "");
    return p.out;
}

} // namespace sw
