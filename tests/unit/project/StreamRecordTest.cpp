#include "project/StreamRecord.h"
#include "project/TextForm.h"
#include "support/SourceFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace sw {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes)
        s += char(b);
    return s;
}

std::string Short(const std::string& s) { return char(s.size()) + s; }

std::string Stream(const std::string& body) { return "TPF0" + body; }

std::string EveryTagBinary() {
    std::string text = test::ReadSourceFile("tests/fixtures/every-tag.txt");
    EXPECT_FALSE(text.empty());
    return WriteStreamRecords(TextToRecords(text, "every-tag.txt"));
}

TStreamValue Raw(TValueType t, std::string bytes) {
    TStreamValue v;
    v.Type = t;
    v.Bytes = std::move(bytes);
    return v;
}

TStreamValue Simple(TValueType t) {
    TStreamValue v;
    v.Type = t;
    return v;
}

TObjectRecord Record(std::string cls, std::string name, TStreamValue value) {
    TObjectRecord r;
    r.ClassName = std::move(cls);
    r.Name = std::move(name);
    r.Properties.push_back({"Value", std::move(value)});
    return r;
}

void ExpectStreamError(const std::string& bytes, const std::string& message, const std::string& object,
                       const std::string& path, size_t offset) {
    try {
        ReadStreamRecords(bytes);
        ADD_FAILURE() << "no error, expected " << message;
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), message);
        EXPECT_EQ(e.ObjectName, object);
        EXPECT_EQ(e.PropPath, path);
        EXPECT_EQ(e.Offset, offset);
    }
}

TEST(StreamRecordTest, IntegerPicksTheSmallestTag) {
    struct Case {
        int32_t v;
        TValueType t;
        size_t size;
    } cases[] = {{0, TValueType::vaInt8, 2},
                 {-128, TValueType::vaInt8, 2},
                 {127, TValueType::vaInt8, 2},
                 {128, TValueType::vaInt16, 3},
                 {-129, TValueType::vaInt16, 3},
                 {32767, TValueType::vaInt16, 3},
                 {-32768, TValueType::vaInt16, 3},
                 {32768, TValueType::vaInt32, 5},
                 {-32769, TValueType::vaInt32, 5},
                 {std::numeric_limits<int32_t>::max(), TValueType::vaInt32, 5},
                 {std::numeric_limits<int32_t>::min(), TValueType::vaInt32, 5}};
    for (const Case& c : cases) {
        TStreamValue v = TStreamValue::Integer(c.v);
        EXPECT_EQ(v.Type, c.t) << c.v;
        std::string out;
        WriteValue(out, v);
        EXPECT_EQ(out.size(), c.size) << c.v;
        TStreamInput in(out);
        TStreamValue back = ReadValue(in);
        EXPECT_EQ(back.Int, c.v);
        EXPECT_EQ(back.Type, c.t);
        EXPECT_TRUE(in.AtEnd());
    }
}

TEST(StreamRecordTest, StringsAbove255BytesAreLongStrings) {
    for (size_t n : {size_t(0), size_t(1), size_t(255), size_t(256), size_t(70000)}) {
        TStreamValue v = TStreamValue::String(std::string(n, 'x'));
        EXPECT_EQ(v.Type, n > 255 ? TValueType::vaLString : TValueType::vaString) << n;
        std::string out;
        WriteValue(out, v);
        EXPECT_EQ(out.size(), n + (n > 255 ? 5 : 2)) << n;
        TStreamInput in(out);
        EXPECT_EQ(ReadValue(in), v) << n;
    }
    std::string out;
    WriteValue(out, TStreamValue::String(std::string(256, 'a')));
    EXPECT_EQ(out.substr(0, 5), Bytes({12, 0, 1, 0, 0}));
}

TEST(StreamRecordTest, ReadsAHandWrittenStream) {
    std::string bytes = Stream(Short("TForm1") + Short("Form1") + Short("Left") + Bytes({2, 10}) + Short("Font.Style") +
                               Bytes({11}) + Short("fsBold") + Bytes({0}) + Short("Name") + Bytes({7}) +
                               Short("alTop") + Bytes({0}) + Short("TButton") + Short("B1") + Bytes({0, 0, 0}));
    TObjectRecord r = ReadStreamRecords(bytes);
    EXPECT_FALSE(r.HasPrefix);
    EXPECT_EQ(r.ClassName, "TForm1");
    EXPECT_EQ(r.Name, "Form1");
    ASSERT_EQ(r.Properties.size(), 3u);
    EXPECT_EQ(r.Properties[0].Path, "Left");
    EXPECT_EQ(r.Properties[0].Value.Int, 10);
    EXPECT_EQ(r.Properties[1].Path, "Font.Style");
    EXPECT_EQ(r.Properties[1].Value.Set, std::vector<std::string>{"fsBold"});
    EXPECT_EQ(r.Properties[2].Value.Type, TValueType::vaIdent);
    EXPECT_EQ(r.Properties[2].Value.Bytes, "alTop");
    ASSERT_EQ(r.Children.size(), 1u);
    EXPECT_EQ(r.Children[0].ClassName, "TButton");
    EXPECT_EQ(r.Children[0].Name, "B1");
    EXPECT_EQ(WriteStreamRecords(r), bytes);
}

TEST(StreamRecordTest, PrefixFlagsAndChildPosition) {
    // 0xF0 without flags, then a child with both flags and a 16-bit position.
    std::string bytes = Stream(Bytes({0xF0}) + Short("TForm1") + Short("") + Bytes({0}) + Bytes({0xF3, 3, 5, 0}) +
                               Short("TPanel") + Short("P") + Bytes({0, 0, 0}));
    TObjectRecord r = ReadStreamRecords(bytes);
    EXPECT_TRUE(r.HasPrefix);
    EXPECT_EQ(r.Flags, 0);
    ASSERT_EQ(r.Children.size(), 1u);
    const TObjectRecord& c = r.Children[0];
    EXPECT_EQ(c.Flags, ffInherited | ffChildPos);
    EXPECT_EQ(c.Position.Type, TValueType::vaInt16);
    EXPECT_EQ(c.Position.Int, 5);
    EXPECT_EQ(WriteStreamRecords(r), bytes);

    std::string badPosition = Stream(Bytes({0xF2, 6}) + Short("x") + Short("TForm1") + Short("F") + Bytes({0, 0}));
    ExpectStreamError(badPosition, "Invalid property value", "", "", 5);
}

TEST(StreamRecordTest, EveryKindRoundTrips) {
    TObjectRecord root;
    root.ClassName = "TForm1";
    root.Name = "Form1";
    TStreamValue list = Simple(TValueType::vaList);
    list.List = {TStreamValue::String(""), TStreamValue::Integer(-5), Simple(TValueType::vaList)};
    TStreamValue set = Simple(TValueType::vaSet);
    set.Set = {"a", std::string(255, 'b')};
    TStreamValue wide = Simple(TValueType::vaWString);
    wide.Wide = u"Caf\u00e9 \u20ac\xd800";
    TStreamValue coll = Simple(TValueType::vaCollection);
    coll.Items.resize(3);
    coll.Items[1].HasIndex = true;
    coll.Items[1].Index = TStreamValue::Integer(70000);
    coll.Items[2].Properties.push_back({"Inner", list});
    TStreamValue int32Small = Simple(TValueType::vaInt32);
    int32Small.Int = 1;
    root.Properties = {{"Null", Simple(TValueType::vaNull)},
                       {"List", list},
                       {"I8", TStreamValue::Integer(-1)},
                       {"I16", TStreamValue::Integer(1000)},
                       {"I32", int32Small},
                       {"Ext", Raw(TValueType::vaExtended, LongDoubleToExtended(1.25L))},
                       {"Str", TStreamValue::String("a'b")},
                       {"Id", TStreamValue::Ident("alTop")},
                       {"F", TStreamValue::Boolean(false)},
                       {"T", TStreamValue::Boolean(true)},
                       {"Bin0", Raw(TValueType::vaBinary, "")},
                       {"Bin", Raw(TValueType::vaBinary, std::string(1 << 20, '\xAB'))},
                       {"Set", set},
                       {"EmptySet", Simple(TValueType::vaSet)},
                       {"LStr", Raw(TValueType::vaLString, "short")},
                       {"Nil", Simple(TValueType::vaNil)},
                       {"Coll", coll},
                       {"Sgl", Raw(TValueType::vaSingle, Bytes({0, 0, 0x80, 0x3F}))},
                       {"Cur", Raw(TValueType::vaCurrency, Bytes({1, 2, 3, 4, 5, 6, 7, 0x88}))},
                       {"Date", Raw(TValueType::vaDate, Bytes({0, 0, 0, 0, 0, 0xF8, 0xE5, 0x40}))},
                       {"WStr", wide}};
    root.Children.push_back(Record("TPanel", "Panel1", TStreamValue::Integer(3)));
    root.Children[0].Children.push_back(Record("TButton", "", TStreamValue::String(std::string(300, 'z'))));

    std::string bytes = WriteStreamRecords(root);
    TObjectRecord back = ReadStreamRecords(bytes);
    EXPECT_EQ(back, root);
    EXPECT_EQ(WriteStreamRecords(back), bytes);
    EXPECT_EQ(back.Properties[4].Value.Type, TValueType::vaInt32);
    EXPECT_EQ(back.Properties[11].Value.Bytes.size(), size_t(1) << 20);
}

TEST(StreamRecordTest, TrailingBytesAfterTheRootAreIgnored) {
    std::string bytes = Stream(Short("TForm1") + Short("F") + Bytes({0, 0}));
    TObjectRecord r = ReadStreamRecords(bytes + "garbage");
    EXPECT_EQ(WriteStreamRecords(r), bytes);
}

TEST(StreamRecordTest, SkipValueEndsWhereReadValueEnds) {
    std::string bytes = EveryTagBinary();
    TObjectRecord r = ReadStreamRecords(bytes);
    ASSERT_FALSE(r.Properties.empty());
    for (const TStreamProperty& p : r.Properties) {
        std::string out;
        WriteValue(out, p.Value);
        out += "X";
        TStreamInput skip(out), read(out);
        SkipValue(skip);
        ReadValue(read);
        EXPECT_EQ(skip.Position(), out.size() - 1) << p.Path;
        EXPECT_EQ(read.Position(), out.size() - 1) << p.Path;
    }
}

TEST(StreamRecordTest, SkipValueDoesNotNeedTheDataOfAHugeBinary) {
    std::string value = Bytes({10, 0xFF, 0xFF, 0xFF, 0x7F});
    TStreamInput in(value);
    EXPECT_THROW(SkipValue(in), EStreamError);
    std::string ok = Bytes({10, 3, 0, 0, 0, 1, 2, 3, 9});
    TStreamInput in2(ok);
    SkipValue(in2);
    EXPECT_EQ(in2.Position(), 8u);
}

TEST(StreamRecordTest, WrongSignatureIsInvalidStreamFormat) {
    ExpectStreamError("", "Stream read error", "", "", 0);
    ExpectStreamError("TPF", "Stream read error", "", "", 3);
    ExpectStreamError("TPF1", "Invalid stream format", "", "", 0);
    ExpectStreamError("TPF1" + Short("TForm1") + Short("F") + Bytes({0, 0}), "Invalid stream format", "", "", 0);
}

TEST(StreamRecordTest, UnknownTagIsInvalidPropertyValue) {
    std::string bytes = Stream(Short("TForm1") + Short("Form1") + Short("Left") + Bytes({19, 0, 0}));
    ExpectStreamError(bytes, "Invalid property value", "Form1", "Left", 4 + 7 + 6 + 5);
}

TEST(StreamRecordTest, ErrorsNameTheInnermostObjectAndProperty) {
    std::string head = Stream(Short("TForm1") + Short("Form1") + Bytes({0}));
    // Inside a child's property.
    std::string child = head + Short("TButton") + Short("OK") + Short("Caption") + Bytes({6, 9}) + "abc";
    ExpectStreamError(child, "Stream read error", "OK", "Caption", child.size() - 3);
    // Before the child's name is read.
    std::string cut = head + Short("TButton");
    ExpectStreamError(cut, "Stream read error", "", "", cut.size());
    // Between properties: no path.
    std::string between = Stream(Short("TForm1") + Short("Form1") + Short("Left") + Bytes({2, 1}));
    ExpectStreamError(between, "Stream read error", "Form1", "", between.size());
    // Inside a collection item: the path of the collection property.
    std::string coll =
        Stream(Short("TForm1") + Short("F") + Short("Entries") + Bytes({14, 1}) + Short("Key") + Bytes({6, 5}) + "ab");
    ExpectStreamError(coll, "Stream read error", "F", "Entries", coll.size() - 2);
    // A collection item without its list tag.
    std::string noList = Stream(Short("TForm1") + Short("F") + Short("Entries") + Bytes({14, 2, 1, 6, 0, 0, 0, 0}));
    ExpectStreamError(noList, "Invalid property value", "F", "Entries", noList.size() - 5);
}

TEST(StreamRecordTest, LengthsBeyondTheDataAreReadErrors) {
    for (int tag : {10, 12}) {
        std::string bytes = Stream(Short("T") + Short("F") + Short("P") + Bytes({tag, 0xFF, 0xFF, 0xFF, 0xFF}));
        ExpectStreamError(bytes, "Stream read error", "F", "P", bytes.size());
    }
    std::string wide = Stream(Short("T") + Short("F") + Short("P") + Bytes({18, 2, 0, 0, 0, 'a', 0, 'b'}));
    ExpectStreamError(wide, "Stream read error", "F", "P", wide.size() - 3);
}

TEST(StreamRecordTest, EveryTruncationIsAReadError) {
    std::string bytes = EveryTagBinary();
    ASSERT_GT(bytes.size(), 100u);
    for (size_t cut = 4; cut < bytes.size(); ++cut) {
        try {
            ReadStreamRecords(std::string_view(bytes).substr(0, cut));
            ADD_FAILURE() << "cut at " << cut << " was read";
        } catch (const EStreamError& e) {
            EXPECT_EQ(e.Message(), "Stream read error") << cut;
            EXPECT_LE(e.Offset, cut) << cut;
        }
    }
}

TEST(StreamRecordTest, NestingLimits) {
    auto nestedLists = [](int depth) {
        std::string v(size_t(depth), char(1));
        return Stream(Short("T") + Short("F") + Short("P") + v + std::string(size_t(depth), '\0') + Bytes({0, 0}));
    };
    EXPECT_NO_THROW(ReadStreamRecords(nestedLists(kMaxValueDepth)));
    ExpectStreamError(nestedLists(kMaxValueDepth + 1), "Values nested deeper than 64", "F", "P", 4 + 2 + 2 + 2 + 64);

    auto nestedObjects = [](int depth) {
        std::string s = "TPF0";
        for (int i = 0; i < depth; ++i)
            s += Short("T") + Short("O" + std::to_string(i)) + Bytes({0});
        return s + std::string(size_t(depth), '\0');
    };
    EXPECT_NO_THROW(ReadStreamRecords(nestedObjects(kMaxObjectDepth)));
    std::string deep = nestedObjects(kMaxObjectDepth + 1);
    try {
        ReadStreamRecords(deep);
        ADD_FAILURE() << "deep objects were read";
    } catch (const EStreamError& e) {
        EXPECT_EQ(e.Message(), "Objects nested deeper than 64");
        EXPECT_EQ(e.ObjectName, "");
    }
}

TEST(StreamRecordTest, WriterRefusesWhatTheFormatCannotHold) {
    auto fails = [](const TObjectRecord& r) { EXPECT_THROW(WriteStreamRecords(r), EFilerError) << r.ClassName; };
    TStreamValue longShort = Raw(TValueType::vaString, std::string(256, 'x'));
    fails(Record("TString", "F", longShort));
    fails(Record("TIdent", "F", Raw(TValueType::vaIdent, std::string(256, 'x'))));
    TObjectRecord emptyPath = Record("TPath", "F", TStreamValue::Integer(1));
    emptyPath.Properties[0].Path.clear();
    fails(emptyPath);
    TStreamValue list = Simple(TValueType::vaList);
    list.List.push_back(Simple(TValueType::vaNull));
    fails(Record("TNullInList", "F", list));
    TStreamValue set = Simple(TValueType::vaSet);
    set.Set.push_back("");
    fails(Record("TEmptySetElement", "F", set));
    fails(Record("TExtended", "F", Raw(TValueType::vaExtended, "123")));
    TStreamValue narrow = Simple(TValueType::vaInt8);
    narrow.Int = 200;
    fails(Record("TInt8", "F", narrow));
    TObjectRecord root = Record("TRoot", "F", TStreamValue::Integer(1));
    root.Children.push_back(Record("", "Unnamed", TStreamValue::Integer(1)));
    fails(root);
    root.Children[0].HasPrefix = true;
    EXPECT_NO_THROW(WriteStreamRecords(root));
    TObjectRecord longClass = Record(std::string(0xF0, 'T'), "F", TStreamValue::Integer(1));
    fails(longClass);
    longClass.HasPrefix = true;
    EXPECT_EQ(ReadStreamRecords(WriteStreamRecords(longClass)), longClass);
}

TEST(StreamRecordTest, ExtendedConversions) {
    EXPECT_EQ(LongDoubleToExtended(1.0L), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}));
    EXPECT_EQ(LongDoubleToExtended(-2.5L), Bytes({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}));
    EXPECT_EQ(LongDoubleToExtended(0.0L), std::string(10, '\0'));
    EXPECT_EQ(LongDoubleToExtended(-0.0L), Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}));
    EXPECT_EQ(LongDoubleToExtended(std::numeric_limits<long double>::infinity()),
              Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}));
    EXPECT_TRUE(std::isnan(ExtendedToLongDouble(Bytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F}))));
    EXPECT_EQ(ExtendedToLongDouble(Bytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40})), 3.0L);
    EXPECT_EQ(ExtendedToLongDouble(Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F})), 0.5L);
    if (std::numeric_limits<long double>::digits == 64) {
        // Exact on an 80-bit long double: extremes and denormals.
        for (std::string raw : {Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
                                Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x7F}),
                                Bytes({0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55, 0xD5, 0xFD, 0x3F}),
                                Bytes({0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0x80})})
            EXPECT_EQ(LongDoubleToExtended(ExtendedToLongDouble(raw)), raw);
        EXPECT_EQ(ExtendedToLongDouble(Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0})),
                  std::numeric_limits<long double>::denorm_min());
    }
}

} // namespace
} // namespace sw
