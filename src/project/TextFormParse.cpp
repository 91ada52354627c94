// The parser of the text form: a lexer that keeps line and column, and a
// recursive descent over objects, properties and values.
#include "project/TextForm.h"

#include "project/Text.h"
#include "project/TextFormSyntax.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

namespace sw {

using namespace textform;

ETextFormError::ETextFormError(std::string fileName, int line, int column, std::string what)
    : Exception(fileName + "(" + std::to_string(line) + ":" + std::to_string(column) + "): " + what),
      FileName(std::move(fileName)), Line(line), Column(column), What(std::move(what)) {}

namespace {

enum class Tok { Ident, String, Number, Binary, Symbol, End };

struct Token {
    Tok kind = Tok::End;
    std::string text;     // Ident, Number; the bytes of a Binary; the character of a Symbol
    std::u32string units; // String
    int line = 1;
    int column = 1;
    bool spaced = true; // whitespace (or nothing) before it
};

class Lexer {
  public:
    Lexer(std::string_view text, std::string_view fileName) : s_(text), file_(fileName) {}

    [[noreturn]] void Fail(int line, int column, const std::string& what) const {
        throw ETextFormError(std::string(file_), line, column, what);
    }

    std::vector<Token> Tokens() {
        std::vector<Token> tokens;
        for (;;) {
            bool spaced = SkipBlanks();
            Token t;
            t.line = line_;
            t.column = Column();
            t.spaced = spaced || tokens.empty();
            if (pos_ >= s_.size()) {
                tokens.push_back(t);
                return tokens;
            }
            char c = s_[pos_];
            if (IsIdentStart(c))
                Ident(t);
            else if (c == '\'' || c == '#')
                String(t);
            else if ((c >= '0' && c <= '9') || c == '-' || c == '$')
                Number(t);
            else if (c == '{')
                Binary(t);
            else if (std::string_view("=:[](),<>+").find(c) != std::string_view::npos) {
                t.kind = Tok::Symbol;
                t.text = std::string(1, c);
                ++pos_;
            } else
                Fail(t.line, t.column, "Unexpected character " + Describe(c));
            tokens.push_back(std::move(t));
        }
    }

  private:
    std::string_view s_;
    std::string_view file_;
    size_t pos_ = 0;
    size_t lineStart_ = 0;
    int line_ = 1;

    int Column() const { return int(pos_ - lineStart_) + 1; }
    char At(size_t i) const { return i < s_.size() ? s_[i] : '\0'; }
    static bool Digit(char c) { return c >= '0' && c <= '9'; }

    static std::string Describe(char c) {
        uint8_t u = uint8_t(c);
        return u >= 32 && u < 127 ? "'" + std::string(1, c) + "'" : "#" + std::to_string(u);
    }

    void NewLine() {
        ++line_;
        lineStart_ = pos_ + 1;
    }

    bool SkipBlanks() {
        size_t start = pos_;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '\n')
                NewLine();
            else if (c == '/' && At(pos_ + 1) == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n')
                    ++pos_;
                continue;
            } else if (c != ' ' && c != '\t' && c != '\r')
                break;
            ++pos_;
        }
        return pos_ > start;
    }

    void Ident(Token& t) {
        t.kind = Tok::Ident;
        size_t start = pos_;
        for (;;) {
            while (IsIdentChar(At(pos_)))
                ++pos_;
            if (At(pos_) != '.' || !IsIdentStart(At(pos_ + 1)))
                break;
            ++pos_;
        }
        t.text = std::string(s_.substr(start, pos_ - start));
    }

    void String(Token& t) {
        t.kind = Tok::String;
        for (;;) {
            char c = At(pos_);
            if (c == '\'' && pos_ < s_.size()) {
                int line = line_, column = Column();
                ++pos_;
                for (;;) {
                    if (pos_ >= s_.size() || s_[pos_] == '\n' || s_[pos_] == '\r')
                        Fail(line, column, "Unterminated string");
                    if (s_[pos_] == '\'') {
                        if (At(pos_ + 1) != '\'')
                            break;
                        ++pos_;
                    }
                    t.units += char32_t(uint8_t(s_[pos_++]));
                }
                ++pos_;
            } else if (c == '#' && pos_ < s_.size()) {
                int column = Column();
                ++pos_;
                if (!Digit(At(pos_)))
                    Fail(line_, column, "Expected a character code after '#'");
                uint32_t code = 0;
                while (Digit(At(pos_))) {
                    code = code * 10 + uint32_t(s_[pos_++] - '0');
                    if (code > 0xFFFF)
                        Fail(line_, column, "Character code above 65535");
                }
                t.units += char32_t(code);
            } else {
                return;
            }
        }
    }

    void Number(Token& t) {
        t.kind = Tok::Number;
        size_t start = pos_;
        if (At(pos_) == '$') {
            ++pos_;
            while (std::isxdigit(uint8_t(At(pos_))))
                ++pos_;
            if (pos_ - start < 2)
                Fail(t.line, t.column, "Expected hex digits after '$'");
        } else {
            if (At(pos_) == '-')
                ++pos_;
            if (!Digit(At(pos_)))
                Fail(t.line, t.column, "Expected a digit after '-'");
            while (Digit(At(pos_)))
                ++pos_;
            if (At(pos_) == '.' && Digit(At(pos_ + 1))) {
                ++pos_;
                while (Digit(At(pos_)))
                    ++pos_;
            }
            if (At(pos_) == 'e' || At(pos_) == 'E') {
                size_t e = pos_ + 1;
                if (At(e) == '+' || At(e) == '-')
                    ++e;
                if (!Digit(At(e)))
                    Fail(line_, Column(), "Malformed exponent");
                pos_ = e;
                while (Digit(At(pos_)))
                    ++pos_;
            }
        }
        if (IsIdentChar(At(pos_)) || At(pos_) == '.')
            Fail(line_, Column(), "Malformed number");
        t.text = std::string(s_.substr(start, pos_ - start));
    }

    static int HexValue(char c) {
        if (Digit(c))
            return c - '0';
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        return -1;
    }

    void Binary(Token& t) {
        t.kind = Tok::Binary;
        ++pos_;
        int high = -1, highLine = 0, highColumn = 0;
        for (;;) {
            if (pos_ >= s_.size())
                Fail(t.line, t.column, "Unterminated binary value");
            char c = s_[pos_];
            if (c == '}')
                break;
            if (c == '\n') {
                NewLine();
            } else if (c != ' ' && c != '\t' && c != '\r') {
                int h = HexValue(c);
                if (h < 0)
                    Fail(line_, Column(), "Unexpected character " + Describe(c) + " in binary value");
                if (high < 0) {
                    high = h;
                    highLine = line_;
                    highColumn = Column();
                } else {
                    t.text += char(high * 16 + h);
                    high = -1;
                }
            }
            ++pos_;
        }
        if (high >= 0)
            Fail(highLine, highColumn, "Odd number of hex digits in binary value");
        ++pos_;
    }
};

class Parser {
  public:
    Parser(std::string_view text, std::string_view fileName) : lexer_(text, fileName), toks_(lexer_.Tokens()) {}

    TObjectRecord File() {
        TObjectRecord root = Object(1, false);
        if (Peek().kind != Tok::End)
            Fail(Peek(), "Expected end of file but found " + Describe(Peek()));
        return root;
    }

  private:
    Lexer lexer_;
    std::vector<Token> toks_;
    size_t at_ = 0;

    const Token& Peek(size_t ahead = 0) const { return toks_[std::min(at_ + ahead, toks_.size() - 1)]; }
    const Token& Next() {
        const Token& t = toks_[at_];
        if (at_ + 1 < toks_.size())
            ++at_;
        return t;
    }

    [[noreturn]] void Fail(const Token& t, const std::string& what) const { lexer_.Fail(t.line, t.column, what); }

    static std::string Describe(const Token& t) {
        switch (t.kind) {
        case Tok::Ident:
            return "'" + t.text + "'";
        case Tok::Number:
            return "number " + t.text;
        case Tok::String:
            return "a string";
        case Tok::Binary:
            return "a binary value";
        case Tok::Symbol:
            return "'" + t.text + "'";
        case Tok::End:
            break;
        }
        return "end of file";
    }

    bool IsSymbol(const Token& t, char c) const { return t.kind == Tok::Symbol && t.text[0] == c; }
    bool IsWord(const Token& t, std::string_view w) const { return t.kind == Tok::Ident && SameText(t.text, w); }
    // A word that starts a block, unless it is a property path followed by '='.
    bool IsKeyword(std::string_view w) const { return IsWord(Peek(), w) && !IsSymbol(Peek(1), '='); }

    void Expect(char c) {
        if (!IsSymbol(Peek(), c))
            Fail(Peek(), std::string("Expected '") + c + "' but found " + Describe(Peek()));
        Next();
    }

    void ExpectWord(std::string_view w) {
        if (!IsWord(Peek(), w))
            Fail(Peek(), "Expected '" + std::string(w) + "' but found " + Describe(Peek()));
        Next();
    }

    // A string with its '+' continuations, as UTF-16 or 8-bit units.
    std::u32string StringUnits() {
        if (Peek().kind != Tok::String)
            Fail(Peek(), "Expected a string but found " + Describe(Peek()));
        std::u32string units = Next().units;
        while (IsSymbol(Peek(), '+')) {
            Next();
            if (Peek().kind != Tok::String)
                Fail(Peek(), "Expected a string after '+' but found " + Describe(Peek()));
            units += Next().units;
        }
        return units;
    }

    std::string Bytes(const Token& where, const std::u32string& units) {
        std::string s;
        s.reserve(units.size());
        for (char32_t u : units) {
            if (u > 255)
                Fail(where, "Character code " + std::to_string(uint32_t(u)) + " above 255 in an 8-bit string");
            s += char(u);
        }
        return s;
    }

    std::string ShortBytes(const Token& where, const std::u32string& units, const char* what) {
        std::string s = Bytes(where, units);
        if (s.size() > kMaxShortString)
            Fail(where, std::string(what) + " longer than 255 bytes");
        return s;
    }

    // A name: an identifier or a quoted string.
    std::string Name(const char* what) {
        const Token& t = Peek();
        if (t.kind == Tok::Ident) {
            Next();
            if (t.text.size() > kMaxShortString)
                Fail(t, std::string(what) + " longer than 255 bytes");
            return t.text;
        }
        if (t.kind == Tok::String)
            return ShortBytes(t, StringUnits(), what);
        Fail(t, std::string("Expected ") + what + " but found " + Describe(t));
    }

    TObjectRecord Object(int depth, bool child) {
        const Token& start = Peek();
        if (depth > kMaxObjectDepth)
            Fail(start, "Objects nested deeper than " + std::to_string(kMaxObjectDepth));
        TObjectRecord rec;
        if (IsWord(start, "inherited"))
            rec.Flags |= ffInherited;
        else if (!IsWord(start, "object"))
            Fail(start, "Expected 'object' or 'inherited' but found " + Describe(start));
        Next();
        rec.Name = Name("an object name");
        Expect(':');
        const Token& classToken = Peek();
        rec.ClassName = Name("a class name");
        if (IsSymbol(Peek(), '[')) {
            Next();
            rec.Flags |= ffChildPos;
            rec.Position = IntegerValue();
            Expect(']');
        }
        rec.HasPrefix = rec.Flags != 0;
        if (IsWord(Peek(), "Prefix") && IsSymbol(Peek(1), '(') && !Peek(1).spaced)
            PrefixAnnotation(rec);
        if (!rec.HasPrefix && (rec.ClassName.size() >= 0xF0 || (child && rec.ClassName.empty())))
            Fail(classToken, "This class name needs Prefix($F0)");
        while (!IsKeyword("object") && !IsKeyword("inherited") && !IsKeyword("end"))
            rec.Properties.push_back(Property(1));
        while (!IsKeyword("end")) {
            if (IsSymbol(Peek(1), '='))
                Fail(Peek(), "Properties must come before the child objects");
            rec.Children.push_back(Object(depth + 1, true));
        }
        Next();
        return rec;
    }

    void PrefixAnnotation(TObjectRecord& rec) {
        Next();
        Next();
        const Token& t = Peek();
        int32_t prefix = t.kind == Tok::Number ? Integer(t) : -1;
        if (prefix < 0xF0 || prefix > 0xFF)
            Fail(t, "Expected a prefix byte $F0..$FF");
        Next();
        if ((prefix & 3) != rec.Flags)
            Fail(t, "Prefix flags do not match the object header");
        rec.HasPrefix = true;
        rec.Flags = uint8_t(prefix & 0x0F);
        Expect(')');
    }

    TStreamProperty Property(int depth) {
        TStreamProperty p;
        const Token& t = Peek();
        if (t.kind != Tok::Ident && t.kind != Tok::String)
            Fail(t, "Expected a property, 'object' or 'end' but found " + Describe(t));
        p.Path = Name("a property path");
        if (p.Path.empty())
            Fail(t, "Empty property path");
        Expect('=');
        p.Value = Value(depth);
        return p;
    }

    int32_t Integer(const Token& t) {
        const std::string& s = t.text;
        if (s.find_first_of(".eE") != std::string::npos && s[0] != '$')
            Fail(t, "Expected an integer but found " + Describe(t));
        int64_t v = 0;
        bool hex = s[0] == '$';
        bool negative = s[0] == '-';
        for (size_t i = hex || negative ? 1 : 0; i < s.size(); ++i) {
            int digit = hex ? (std::isdigit(uint8_t(s[i])) ? s[i] - '0' : (std::toupper(uint8_t(s[i])) - 'A' + 10))
                            : s[i] - '0';
            v = v * (hex ? 16 : 10) + digit;
            if (v > (hex ? int64_t(0xFFFFFFFF) : int64_t(1) << 31))
                Fail(t, "Integer out of range");
        }
        if (hex)
            return int32_t(uint32_t(v));
        if (negative)
            v = -v;
        if (v > std::numeric_limits<int32_t>::max())
            Fail(t, "Integer out of range");
        return int32_t(v);
    }

    static bool IsFloatText(const std::string& s) { return s[0] != '$' && s.find_first_of(".eE") != std::string::npos; }

    // An integer literal or an Int8/Int16/Int32 annotation.
    TStreamValue IntegerValue() {
        const Token& t = Peek();
        if (t.kind == Tok::Number) {
            Next();
            return TStreamValue::Integer(Integer(t));
        }
        if (t.kind == Tok::Ident && IsSymbol(Peek(1), '(') && !Peek(1).spaced &&
            (SameText(t.text, "Int8") || SameText(t.text, "Int16") || SameText(t.text, "Int32")))
            return Annotation();
        Fail(t, "Expected an integer but found " + Describe(t));
    }

    TStreamValue Value(int depth) {
        const Token& t = Peek();
        if (depth > kMaxValueDepth)
            Fail(t, "Values nested deeper than " + std::to_string(kMaxValueDepth));
        TStreamValue v;
        switch (t.kind) {
        case Tok::Number:
            Next();
            if (!IsFloatText(t.text))
                return TStreamValue::Integer(Integer(t));
            v.Type = TValueType::vaExtended;
            if (!DecimalToExtended(t.text, v.Bytes))
                Fail(t, "Float out of range");
            return v;
        case Tok::String: {
            std::string s = Bytes(t, StringUnits());
            return TStreamValue::String(std::move(s));
        }
        case Tok::Binary:
            Next();
            v.Type = TValueType::vaBinary;
            v.Bytes = t.text;
            return v;
        case Tok::Ident:
            if (IsSymbol(Peek(1), '(') && !Peek(1).spaced)
                return Annotation();
            Next();
            if (SameText(t.text, "True"))
                return TStreamValue::Boolean(true);
            if (SameText(t.text, "False"))
                return TStreamValue::Boolean(false);
            if (SameText(t.text, "nil")) {
                v.Type = TValueType::vaNil;
                return v;
            }
            if (IsValueKeyword(t.text))
                Fail(t, "Expected a value but found " + Describe(t));
            if (t.text.size() > kMaxShortString)
                Fail(t, "Identifier longer than 255 bytes");
            return TStreamValue::Ident(t.text);
        case Tok::Symbol:
            break;
        case Tok::End:
            Fail(t, "Expected a value but found end of file");
        }
        Next();
        switch (t.text[0]) {
        case '(':
            v.Type = TValueType::vaList;
            while (!IsSymbol(Peek(), ')')) {
                const Token& e = Peek();
                v.List.push_back(Value(depth + 1));
                if (v.List.back().Type == TValueType::vaNull)
                    Fail(e, "Null() cannot stand in a list");
            }
            Next();
            return v;
        case '[':
            v.Type = TValueType::vaSet;
            while (!IsSymbol(Peek(), ']')) {
                if (!v.Set.empty())
                    Expect(',');
                const Token& e = Peek();
                v.Set.push_back(Name("a set element"));
                if (v.Set.back().empty())
                    Fail(e, "Empty set element");
            }
            Next();
            return v;
        case '<':
            v.Type = TValueType::vaCollection;
            while (!IsSymbol(Peek(), '>'))
                v.Items.push_back(Item(depth));
            Next();
            return v;
        default:
            Fail(t, "Expected a value but found " + Describe(t));
        }
    }

    TStreamCollectionItem Item(int depth) {
        TStreamCollectionItem item;
        ExpectWord("item");
        if (IsSymbol(Peek(), '[')) {
            Next();
            item.HasIndex = true;
            if (depth + 1 > kMaxValueDepth)
                Fail(Peek(), "Values nested deeper than " + std::to_string(kMaxValueDepth));
            item.Index = IntegerValue();
            Expect(']');
        }
        while (!IsKeyword("end"))
            item.Properties.push_back(Property(depth + 1));
        Next();
        return item;
    }

    // Fixed-size float payloads written as raw bytes: Single({0000C07F}).
    std::string RawPayload(const Token& t, size_t size) {
        if (t.text.size() != size)
            Fail(t, "Expected " + std::to_string(size) + " bytes");
        return t.text;
    }

    TStreamValue Annotation() {
        const Token& word = Next();
        Next();
        const Token& arg = Peek();
        TStreamValue v;
        const std::string& w = word.text;
        if (SameText(w, "Null")) {
            v.Type = TValueType::vaNull;
        } else if (SameText(w, "Int8") || SameText(w, "Int16") || SameText(w, "Int32")) {
            if (arg.kind != Tok::Number)
                Fail(arg, "Expected an integer but found " + Describe(arg));
            Next();
            v.Int = Integer(arg);
            v.Type = SameText(w, "Int8")    ? TValueType::vaInt8
                     : SameText(w, "Int16") ? TValueType::vaInt16
                                            : TValueType::vaInt32;
            int32_t limit = v.Type == TValueType::vaInt8 ? 127 : v.Type == TValueType::vaInt16 ? 32767 : 0;
            if (limit && (v.Int > limit || v.Int < -limit - 1))
                Fail(arg, "Integer out of range for " + w);
        } else if (SameText(w, "Extended") || SameText(w, "Single") || SameText(w, "Date")) {
            bool extended = SameText(w, "Extended"), single = SameText(w, "Single");
            v.Type = extended ? TValueType::vaExtended : single ? TValueType::vaSingle : TValueType::vaDate;
            Next();
            if (arg.kind == Tok::Binary) {
                v.Bytes = RawPayload(arg, extended ? 10 : single ? 4 : 8);
            } else if (arg.kind == Tok::Number && arg.text[0] != '$') {
                bool ok = extended ? DecimalToExtended(arg.text, v.Bytes)
                          : single ? DecimalToSingle(arg.text, v.Bytes)
                                   : DecimalToDouble(arg.text, v.Bytes);
                if (!ok)
                    Fail(arg, "Float out of range for " + w);
            } else {
                Fail(arg, "Expected a number or a binary value but found " + Describe(arg));
            }
        } else if (SameText(w, "Currency")) {
            if (arg.kind != Tok::Number || arg.text[0] == '$')
                Fail(arg, "Expected a number but found " + Describe(arg));
            Next();
            v.Type = TValueType::vaCurrency;
            v.Bytes = CurrencyPayload(arg);
        } else if (SameText(w, "String") || SameText(w, "LString") || SameText(w, "Ident")) {
            std::u32string units = StringUnits();
            v.Type = SameText(w, "String")  ? TValueType::vaString
                     : SameText(w, "Ident") ? TValueType::vaIdent
                                            : TValueType::vaLString;
            v.Bytes = v.Type == TValueType::vaLString ? Bytes(arg, units) : ShortBytes(arg, units, w.c_str());
        } else if (SameText(w, "WString")) {
            v.Type = TValueType::vaWString;
            for (char32_t u : StringUnits())
                v.Wide += char16_t(u);
        } else {
            Fail(word, "Unknown annotation '" + w + "'");
        }
        Expect(')');
        return v;
    }

    // Exact decimal with at most four places, in units of 1/10000.
    std::string CurrencyPayload(const Token& t) {
        const std::string& s = t.text;
        if (s.find_first_of("eE") != std::string::npos)
            Fail(t, "Currency takes a plain decimal");
        bool negative = s[0] == '-';
        size_t dot = s.find('.');
        std::string digits = s.substr(negative, (dot == std::string::npos ? s.size() : dot) - negative);
        std::string frac = dot == std::string::npos ? "" : s.substr(dot + 1);
        if (frac.size() > 4)
            Fail(t, "Currency has more than four decimal places");
        digits += frac + std::string(4 - frac.size(), '0');
        uint64_t magnitude = 0;
        uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
        for (char c : digits) {
            if (magnitude > (limit - uint64_t(c - '0')) / 10)
                Fail(t, "Currency out of range");
            magnitude = magnitude * 10 + uint64_t(c - '0');
        }
        uint64_t bits = negative ? 0 - magnitude : magnitude;
        std::string raw(8, '\0');
        for (int i = 0; i < 8; ++i)
            raw[i] = char((bits >> (8 * i)) & 0xFF);
        return raw;
    }
};

} // namespace

TObjectRecord TextToRecords(std::string_view text, std::string_view fileName) { return Parser(text, fileName).File(); }

} // namespace sw
