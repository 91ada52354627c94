#include "project/TextForm.h"
#include "support/SourceFiles.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace sw {
namespace {

std::string Fixture(const std::string& name) {
    std::string text = test::ReadSourceFile("tests/fixtures/" + name);
    EXPECT_FALSE(text.empty()) << name;
    return text;
}

std::string ByteString(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s += char(b);
    return s;
}

// The value of "P" in a one-property form.
TStreamValue ValueOf(const std::string& valueText) {
    TObjectRecord r = TextToRecords("object F: T\n  P = " + valueText + "\nend\n", "t.txt");
    EXPECT_EQ(r.Properties.size(), 1u);
    return r.Properties.empty() ? TStreamValue() : r.Properties[0].Value;
}

TObjectRecord OneProperty(TStreamValue v) {
    TObjectRecord r;
    r.ClassName = "TForm1";
    r.Name = "Form1";
    r.Properties.push_back({"P", std::move(v)});
    return r;
}

// Text of a record, that text parsed back, and the binary stream of both.
void ExpectRoundTrip(const TObjectRecord& r) {
    std::string text = RecordsToText(r);
    TObjectRecord back = TextToRecords(text, "round.txt");
    EXPECT_EQ(back, r) << text;
    EXPECT_EQ(RecordsToText(back), text);
    EXPECT_EQ(WriteStreamRecords(back), WriteStreamRecords(r)) << text;
}

void CollectTags(const TStreamValue& v, std::set<int>& tags) {
    tags.insert(int(v.Type));
    for (const TStreamValue& e : v.List)
        CollectTags(e, tags);
    for (const TStreamCollectionItem& item : v.Items) {
        if (item.HasIndex)
            CollectTags(item.Index, tags);
        for (const TStreamProperty& p : item.Properties)
            CollectTags(p.Value, tags);
    }
}

void CollectTags(const TObjectRecord& r, std::set<int>& tags) {
    for (const TStreamProperty& p : r.Properties)
        CollectTags(p.Value, tags);
    for (const TObjectRecord& c : r.Children)
        CollectTags(c, tags);
}

TEST(TextFormTest, EveryTagFixtureIsCanonicalBothWays) {
    std::string text = Fixture("every-tag.txt");
    TObjectRecord records = TextToRecords(text, "every-tag.txt");
    std::set<int> tags;
    CollectTags(records, tags);
    for (int tag = 0; tag <= kLastValueType; ++tag)
        EXPECT_TRUE(tags.count(tag)) << "tag " << tag << " missing from every-tag.txt";

    std::string binary = WriteStreamRecords(records);
    EXPECT_EQ(RecordsToText(ReadStreamRecords(binary)), text);
    EXPECT_EQ(WriteStreamRecords(TextToRecords(RecordsToText(ReadStreamRecords(binary)), "x")), binary);
}

TEST(TextFormTest, NonMinimalEncodingsSurvive) {
    std::string text = Fixture("text/non-minimal.txt");
    TObjectRecord r = TextToRecords(text, "non-minimal.txt");
    EXPECT_TRUE(r.HasPrefix);
    EXPECT_EQ(r.Flags, 0);
    auto prop = [&](const std::string& name) {
        for (const TStreamProperty& p : r.Properties)
            if (p.Path == name)
                return p.Value;
        ADD_FAILURE() << name;
        return TStreamValue();
    };
    EXPECT_EQ(prop("Small").Type, TValueType::vaInt16);
    EXPECT_EQ(prop("Wide").Type, TValueType::vaInt32);
    EXPECT_EQ(prop("Wide").Int, -2);
    EXPECT_EQ(prop("Short").Type, TValueType::vaLString);
    EXPECT_EQ(prop("Unicode").Wide, u"Caf\u00e9 \u20ac");
    EXPECT_EQ(prop("Keyword").Type, TValueType::vaIdent);
    EXPECT_EQ(prop("Keyword").Bytes, "True");
    EXPECT_EQ(prop("Empty").Type, TValueType::vaNull);
    EXPECT_EQ(prop("odd path").Bytes, "");
    EXPECT_EQ(prop("Cents").Bytes, ByteString({0, 0, 0, 0, 0, 0, 0, 0x80}));
    ASSERT_EQ(r.Children.size(), 3u);
    EXPECT_EQ(r.Children[0].Flags, ffChildPos | 4);
    EXPECT_EQ(r.Children[0].Position.Type, TValueType::vaInt32);
    EXPECT_EQ(r.Children[0].Children[0].Flags, 8);
    EXPECT_EQ(r.Children[1].Flags, ffInherited | ffChildPos);
    EXPECT_EQ(r.Children[2].ClassName, "T Odd Class");

    std::string binary = WriteStreamRecords(r);
    EXPECT_EQ(RecordsToText(ReadStreamRecords(binary)), text);
}

TEST(TextFormTest, StringsPrintAndParseExactly) {
    // Every byte value, quotes, and the 255/256 boundary.
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    for (const std::string& s : {std::string(), std::string("it''s"), std::string("'"), std::string(255, 'a'),
                                 std::string(256, 'a'), all, std::string("line1\r\nline2\n")}) {
        TObjectRecord r = OneProperty(TStreamValue::String(s));
        ExpectRoundTrip(r);
    }
    EXPECT_EQ(RecordsToText(OneProperty(TStreamValue::String("a'b\tc"))),
              "object Form1: TForm1\n  P = 'a''b'#9'c'\nend\n");
    EXPECT_EQ(ValueOf("'ab' + 'c'#10 +\n   'd'").Bytes, "abc\nd");
    EXPECT_EQ(ValueOf(std::string("'") + std::string(256, 'x') + "'").Type, TValueType::vaLString);
    EXPECT_EQ(ValueOf(std::string("'") + std::string(255, 'x') + "'").Type, TValueType::vaString);
    EXPECT_EQ(ValueOf("LString('x')").Type, TValueType::vaLString);

    // Long strings wrap every 64 characters and after line feeds.
    std::string text = RecordsToText(OneProperty(TStreamValue::String(std::string(100, 'x') + "\nend")));
    EXPECT_EQ(text, "object Form1: TForm1\n  P = '" + std::string(64, 'x') + "' +\n    '" + std::string(36, 'x') +
                        "'#10 +\n    'end'\nend\n");
}

TEST(TextFormTest, WideStringsAreUtf16Units) {
    TStreamValue w;
    w.Type = TValueType::vaWString;
    w.Wide = u"A\u00e9\u20ac'";
    w.Wide += char16_t(0xD800);
    w.Wide += char16_t(0);
    EXPECT_EQ(RecordsToText(OneProperty(w)), "object Form1: TForm1\n  P = WString('A'#233#8364''''#55296#0)\nend\n");
    ExpectRoundTrip(OneProperty(w));
    w.Wide.clear();
    ExpectRoundTrip(OneProperty(w));
}

TEST(TextFormTest, BinaryValuesAtSeveralSizes) {
    for (size_t n : {size_t(0), size_t(1), size_t(32), size_t(33), size_t(100000)}) {
        TStreamValue v;
        v.Type = TValueType::vaBinary;
        for (size_t i = 0; i < n; ++i)
            v.Bytes += char(i * 7);
        ExpectRoundTrip(OneProperty(v));
    }
    EXPECT_EQ(ValueOf("{}").Bytes, "");
    EXPECT_EQ(ValueOf("{0a FF\n  10}").Bytes, ByteString({0x0A, 0xFF, 0x10}));
    TStreamValue v;
    v.Type = TValueType::vaBinary;
    v.Bytes = std::string(33, '\x11');
    EXPECT_EQ(RecordsToText(OneProperty(v)),
              "object Form1: TForm1\n  P = {\n    " + std::string(64, '1') + "\n    11}\nend\n");
}

TEST(TextFormTest, IntegersKeepTheirWidth) {
    EXPECT_EQ(ValueOf("127").Type, TValueType::vaInt8);
    EXPECT_EQ(ValueOf("-129").Type, TValueType::vaInt16);
    EXPECT_EQ(ValueOf("2147483647").Int, 2147483647);
    EXPECT_EQ(ValueOf("-2147483648").Int, -2147483647 - 1);
    EXPECT_EQ(ValueOf("$FF").Int, 255);
    EXPECT_EQ(ValueOf("Int32(1)").Type, TValueType::vaInt32);
    for (TValueType t : {TValueType::vaInt8, TValueType::vaInt16, TValueType::vaInt32})
        for (int32_t i : {0, -1, 127, -128}) {
            TStreamValue v;
            v.Type = t;
            v.Int = i;
            ExpectRoundTrip(OneProperty(v));
        }
}

TEST(TextFormTest, FloatsKeepTheirExactBits) {
    std::vector<std::string> extended = {
        LongDoubleToExtended(1.5L),
        LongDoubleToExtended(-0.0L),
        LongDoubleToExtended(1.0L / 3.0L),
        LongDoubleToExtended(3.14159265358979323846264338327950288L),
        LongDoubleToExtended(1e4000L),
        ByteString({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}),          // smallest denormal
        ByteString({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}), // infinity
        ByteString({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xFF}), // NaN
        ByteString({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F}), // unnormal
        ByteString({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F}),
    };
    for (const std::string& raw : extended) {
        TStreamValue v;
        v.Type = TValueType::vaExtended;
        v.Bytes = raw;
        ExpectRoundTrip(OneProperty(v));
    }
    std::vector<std::pair<TValueType, std::string>> others = {
        {TValueType::vaSingle, ByteString({0, 0, 0x80, 0x3F})},
        {TValueType::vaSingle, ByteString({1, 0, 0, 0})},
        {TValueType::vaSingle, ByteString({0, 0, 0xC0, 0x7F})},
        {TValueType::vaDate, ByteString({0, 0, 0, 0, 0, 0xF8, 0xE5, 0x40})},
        {TValueType::vaDate, ByteString({1, 2, 3, 4, 5, 6, 7, 0x3F})},
        {TValueType::vaDate, ByteString({0, 0, 0, 0, 0, 0, 0xF0, 0xFF})},
        {TValueType::vaCurrency, ByteString({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})},
        {TValueType::vaCurrency, ByteString({0, 0, 0, 0, 0, 0, 0, 0x80})},
        {TValueType::vaCurrency, ByteString({0x0F, 0x27, 0, 0, 0, 0, 0, 0})}};
    for (const auto& [type, raw] : others) {
        TStreamValue v;
        v.Type = type;
        v.Bytes = raw;
        ExpectRoundTrip(OneProperty(v));
    }
    EXPECT_EQ(ValueOf("1.5").Bytes, LongDoubleToExtended(1.5L));
    EXPECT_EQ(ValueOf("2e3").Bytes, LongDoubleToExtended(2000.0L));
    EXPECT_EQ(ValueOf("Currency(-1.25)").Bytes, ByteString({0x2C, 0xCF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ValueOf("Currency(3)").Bytes, ByteString({0x30, 0x75, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(RecordsToText(OneProperty(ValueOf("Currency(0.9999)"))),
              "object Form1: TForm1\n  P = Currency(0.9999)\nend\n");
}

TEST(TextFormTest, IdentifiersSetsListsAndCollections) {
    EXPECT_EQ(ValueOf("alTop").Type, TValueType::vaIdent);
    EXPECT_EQ(ValueOf("Form2.Button1").Bytes, "Form2.Button1");
    EXPECT_EQ(ValueOf("TRUE").Type, TValueType::vaTrue);
    EXPECT_EQ(ValueOf("Nil").Type, TValueType::vaNil);
    EXPECT_EQ(ValueOf("Ident('nil')").Type, TValueType::vaIdent);
    EXPECT_EQ(RecordsToText(OneProperty(TStreamValue::Ident("End"))),
              "object Form1: TForm1\n  P = Ident('End')\nend\n");
    EXPECT_EQ(ValueOf("[]").Set.size(), 0u);
    EXPECT_EQ(ValueOf("[fsBold, 'odd one']").Set, (std::vector<std::string>{"fsBold", "odd one"}));
    TStreamValue list = ValueOf("(1 (alTop\n(2)) 'x' <item end>)");
    ASSERT_EQ(list.List.size(), 4u);
    EXPECT_EQ(list.List[1].List[0].Bytes, "alTop");
    EXPECT_EQ(list.List[1].List[1].List[0].Int, 2);
    EXPECT_EQ(list.List[3].Items.size(), 1u);

    TStreamValue coll = ValueOf("<\n item [Int16(3)]\n  Key = 1\n  End = 2\n end\n item\n end>");
    ASSERT_EQ(coll.Items.size(), 2u);
    EXPECT_TRUE(coll.Items[0].HasIndex);
    EXPECT_EQ(coll.Items[0].Index.Type, TValueType::vaInt16);
    EXPECT_EQ(coll.Items[0].Properties[1].Path, "End");
    EXPECT_FALSE(coll.Items[1].HasIndex);
    ExpectRoundTrip(OneProperty(coll));
    ExpectRoundTrip(OneProperty(ValueOf("()")));
    ExpectRoundTrip(OneProperty(ValueOf("<>")));
}

// Random trees of every kind: text and binary forms agree and parse back.
class TreeMaker {
  public:
    explicit TreeMaker(unsigned seed) : rng_(seed) {}

    TObjectRecord Object(int depth) {
        TObjectRecord r;
        r.ClassName = "T" + Text(10, false);
        r.Name = Pick(4) ? Text(12, true) : "";
        r.Flags = uint8_t(Pick(16));
        r.HasPrefix = r.Flags != 0 || Pick(3) == 0;
        if (r.Flags & ffChildPos)
            r.Position = Int();
        for (int i = Pick(5); i > 0; --i)
            r.Properties.push_back({Text(20, false) + "x", Value(1)});
        if (depth < 4)
            for (int i = Pick(3); i > 0; --i)
                r.Children.push_back(Object(depth + 1));
        return r;
    }

  private:
    std::mt19937 rng_;

    int Pick(int n) { return int(rng_() % unsigned(n)); }

    std::string Text(int maxLen, bool anyByte) {
        std::string s;
        for (int i = Pick(maxLen + 1); i > 0; --i)
            s += anyByte ? char(Pick(256)) : char('a' + Pick(26));
        return s;
    }

    TStreamValue Int() {
        TStreamValue v = TStreamValue::Integer(int32_t(rng_()) >> Pick(32));
        if (Pick(4) == 0)
            v.Type = TValueType::vaInt32;
        return v;
    }

    TStreamValue Value(int depth) {
        TStreamValue v;
        v.Type = TValueType(Pick(19));
        switch (v.Type) {
        case TValueType::vaInt8:
        case TValueType::vaInt16:
        case TValueType::vaInt32:
            return Int();
        case TValueType::vaList:
            if (depth < 4)
                for (int i = Pick(4); i > 0; --i) {
                    TStreamValue e = Value(depth + 1);
                    if (e.Type != TValueType::vaNull)
                        v.List.push_back(e);
                }
            break;
        case TValueType::vaExtended:
        case TValueType::vaSingle:
        case TValueType::vaCurrency:
        case TValueType::vaDate:
            for (size_t n = v.Type == TValueType::vaExtended ? 10 : v.Type == TValueType::vaSingle ? 4 : 8; n > 0; --n)
                v.Bytes += char(Pick(256));
            break;
        case TValueType::vaString:
        case TValueType::vaIdent:
            v.Bytes = Text(Pick(2) ? 255 : 8, Pick(2));
            break;
        case TValueType::vaLString:
        case TValueType::vaBinary:
            v.Bytes = Text(400, true);
            break;
        case TValueType::vaSet:
            for (int i = Pick(4); i > 0; --i)
                v.Set.push_back("e" + Text(5, Pick(2)));
            break;
        case TValueType::vaCollection:
            if (depth < 4)
                for (int i = Pick(3); i > 0; --i) {
                    TStreamCollectionItem item;
                    item.HasIndex = Pick(2);
                    if (item.HasIndex)
                        item.Index = Int();
                    for (int j = Pick(3); j > 0; --j)
                        item.Properties.push_back({Pick(2) ? "end" : "K" + Text(4, true), Value(depth + 1)});
                    v.Items.push_back(item);
                }
            break;
        case TValueType::vaWString:
            for (int i = Pick(70); i > 0; --i)
                v.Wide += char16_t(Pick(2) ? 'a' + Pick(26) : Pick(65536));
            break;
        default:
            break;
        }
        return v;
    }
};

TEST(TextFormTest, RandomTreesRoundTrip) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        TObjectRecord r = TreeMaker(seed).Object(0);
        std::string binary = WriteStreamRecords(r);
        TObjectRecord read = ReadStreamRecords(binary);
        EXPECT_EQ(WriteStreamRecords(read), binary) << seed;
        std::string text = RecordsToText(read);
        TObjectRecord parsed = TextToRecords(text, "random.txt");
        EXPECT_EQ(parsed, read) << seed << "\n" << text;
        EXPECT_EQ(WriteStreamRecords(parsed), binary) << seed;
        EXPECT_EQ(RecordsToText(parsed), text) << seed;
    }
}

TEST(TextFormTest, ErrorsGiveFileLineAndColumn) {
    struct Case {
        const char* text;
        int line, column;
        const char* what;
    } cases[] = {
        {"", 1, 1, "Expected 'object' or 'inherited' but found end of file"},
        {"object F: T\n  P = \nend", 3, 1, "Expected a value but found 'end'"},
        {"object F: T\n  P 5\nend", 2, 5, "Expected '=' but found number 5"},
        {"object F: T\n  P = 'abc\nend", 2, 7, "Unterminated string"},
        {"object F: T\n  P = {12 3}\nend", 2, 11, "Odd number of hex digits in binary value"},
        {"object F: T\n  P = {12 zz}\nend", 2, 11, "Unexpected character 'z' in binary value"},
        {"object F: T\n  P = {12", 2, 7, "Unterminated binary value"},
        {"object F: T\n  P = 2147483648\nend", 2, 7, "Integer out of range"},
        {"object F: T\n  P = Int8(200)\nend", 2, 12, "Integer out of range for Int8"},
        {"object F: T\n  P = Foo(1)\nend", 2, 7, "Unknown annotation 'Foo'"},
        {"object F: T\n  P = #300\nend", 2, 7, "Character code 300 above 255 in an 8-bit string"},
        {"object F: T\n  P = Ident('')\nend", 1, 1, ""},
        {"object F: T\n  P = [a, '']\nend", 2, 11, "Empty set element"},
        {"object F: T\n  P = (Null())\nend", 2, 8, "Null() cannot stand in a list"},
        {"object F: T\n  '' = 1\nend", 2, 3, "Empty property path"},
        {"object F: T\n  object C: T\n  end\n  P = 1\nend", 4, 3, "Properties must come before the child objects"},
        {"object F: T\n  P = Currency(1.23456)\nend", 2, 16, "Currency has more than four decimal places"},
        {"object F: T\n  P = Single({0011})\nend", 2, 14, "Expected 4 bytes"},
        {"object F: T [1] Prefix($F0)\nend", 1, 24, "Prefix flags do not match the object header"},
        {"object F: T\n  object C: ''\n  end\nend", 2, 13, "This class name needs Prefix($F0)"},
        {"object F: T\nend\nobject", 3, 1, "Expected end of file but found 'object'"},
        {"object F: T\n  P = 1 @\nend", 2, 9, "Unexpected character '@'"},
        {"object F: T\n  P = 1.5x\nend", 2, 10, "Malformed number"},
        {"object F: T\n  P = 1e\nend", 2, 8, "Malformed exponent"},
        {"object F: T\n  P = 1e99999\nend", 2, 7, "Float out of range"},
        {"object F: T\n  P = 'a' +\nend", 3, 1, "Expected a string after '+' but found 'end'"},
    };
    for (const Case& c : cases) {
        if (!*c.what) {
            EXPECT_NO_THROW(TextToRecords(c.text, "f.txt")) << c.text;
            continue;
        }
        try {
            TextToRecords(c.text, "dir/f.txt");
            ADD_FAILURE() << "no error for: " << c.text;
        } catch (const ETextFormError& e) {
            EXPECT_EQ(e.What, c.what) << c.text;
            EXPECT_EQ(e.Message(),
                      "dir/f.txt(" + std::to_string(c.line) + ":" + std::to_string(c.column) + "): " + c.what)
                << c.text;
        }
    }
}

TEST(TextFormTest, NestingLimitsMatchTheBinaryReader) {
    auto lists = [](int depth) {
        return "object F: T\n  P = " + std::string(size_t(depth), '(') + std::string(size_t(depth), ')') + "\nend\n";
    };
    EXPECT_NO_THROW(TextToRecords(lists(kMaxValueDepth), "f"));
    EXPECT_THROW(TextToRecords(lists(kMaxValueDepth + 1), "f"), ETextFormError);
    EXPECT_THROW(TextToRecords(lists(100000), "f"), ETextFormError);

    auto objects = [](int depth) {
        std::string s;
        for (int i = 0; i < depth; ++i)
            s += "object O: T\n";
        for (int i = 0; i < depth; ++i)
            s += "end\n";
        return s;
    };
    TObjectRecord deepest = TextToRecords(objects(kMaxObjectDepth), "f");
    EXPECT_NO_THROW(ReadStreamRecords(WriteStreamRecords(deepest)));
    EXPECT_THROW(TextToRecords(objects(kMaxObjectDepth + 1), "f"), ETextFormError);
}

TEST(TextFormTest, CommentsAndLayoutAreFree) {
    TObjectRecord r = TextToRecords("// the form\nobject F: T   P = 1 Q=(2 3)// trailing\n  end", "f");
    ASSERT_EQ(r.Properties.size(), 2u);
    EXPECT_EQ(r.Properties[1].Value.List.size(), 2u);
    EXPECT_EQ(RecordsToText(r), "object F: T\n  P = 1\n  Q = (\n    2\n    3)\nend\n");
}

} // namespace
} // namespace sw
