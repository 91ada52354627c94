#include "unit/project/TestComponents.h"

#include "project/ClassRegistry.h"
#include "project/Errors.h"
#include "project/Reader.h"
#include "project/StreamRecord.h"
#include "project/Text.h"
#include "project/Writer.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

TStreamValue Val(TValueType t) {
    TStreamValue v;
    v.Type = t;
    return v;
}

TStreamValue Bytes(TValueType t, std::string b) {
    TStreamValue v = Val(t);
    v.Bytes = std::move(b);
    return v;
}

TObjectRecord Obj(std::string cls, std::string name, std::vector<TStreamProperty> props = {},
                  std::vector<TObjectRecord> children = {}) {
    TObjectRecord r;
    r.ClassName = std::move(cls);
    r.Name = std::move(name);
    r.Properties = std::move(props);
    r.Children = std::move(children);
    return r;
}

std::string Stream(const TObjectRecord& root) { return WriteStreamRecords(root); }

// A record applied to the existing component of its name.
TObjectRecord Inherited(TObjectRecord r) {
    r.HasPrefix = true;
    r.Flags = ffInherited;
    return r;
}

// A root "Form1" made by the test, to read streams into.
TTestRoot* NewForm1() {
    auto* root = new TTestRoot(nullptr);
    root->SetName("Form1");
    return root;
}

TTestThing* AddThing(TComponent* owner, const char* name) {
    auto* t = new TTestThing(owner);
    t->SetName(name);
    return t;
}

struct ReaderTest : ::testing::Test {
    void SetUp() override {
        RegisterTestClasses();
        TTestThing::Alive = 0;
        TTestThing::LoadedLog = &loadedLog;
    }
    void TearDown() override {
        TTestThing::LoadedLog = nullptr;
        EXPECT_EQ(TTestThing::Alive, 0) << "components left behind";
    }
    // Reads into a new root and returns the error message ("" on success).
    std::string ReadError(const std::string& bytes) {
        try {
            TComponent::Free(ReadComponentStream(bytes, nullptr));
        } catch (const EReadError& e) {
            return e.Message();
        }
        return "";
    }
    std::vector<std::string> loadedLog;
};

TEST_F(ReaderTest, EveryKindOfPropertyIsAssigned) {
    TStreamValue shades = Val(TValueType::vaSet);
    shades.Set = {"shLight", "SHDARK"};
    TStreamValue lines = Val(TValueType::vaList);
    lines.List = {TStreamValue::String("one"), TStreamValue::String(std::string(300, 'x'))};
    TStreamValue wide = Val(TValueType::vaWString);
    wide.Wide = u"w\u00e9\u20ac";
    TStreamValue entries = Val(TValueType::vaCollection);
    TStreamCollectionItem first;
    first.Properties = {{"Key", TStreamValue::String("a")}, {"Weight", TStreamValue::Integer(-3)}};
    TStreamCollectionItem second; // an item may carry its order index
    second.HasIndex = true;
    second.Index = TStreamValue::Integer(7);
    second.Properties = {{"Key", TStreamValue::String("b")}};
    entries.Items = {first, second};
    TStreamValue ratio = Bytes(TValueType::vaExtended, LongDoubleToExtended(2.5L));

    auto bytes = Stream(Obj("TTestRoot", "Form1", {},
                            {Obj("TTestThing", "Thing1",
                                 {{"Count", TStreamValue::Integer(70000)},
                                  {"Color", TStreamValue::Ident("clBlue")},
                                  {"Enabled", TStreamValue::Boolean(false)},
                                  {"Shade", TStreamValue::Ident("shDark")},
                                  {"Shades", shades},
                                  {"Text", wide},
                                  {"Ratio", ratio},
                                  {"Nested.Label", TStreamValue::String("inner")},
                                  {"Lines.Strings", lines},
                                  {"Entries", entries},
                                  {"Data", Bytes(TValueType::vaBinary, std::string("\0\1\2", 3))},
                                  {"OnFire", TStreamValue::Ident("ThingFired")},
                                  {"Tag", TStreamValue::Integer(-1)}})}));
    TOwned<TComponent> root(ReadComponentStream(bytes, nullptr));
    auto* form = dynamic_cast<TTestRoot*>(root.get());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Name(), "Form1");
    auto* t = dynamic_cast<TTestThing*>(form->FindComponent("Thing1"));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->Owner(), form);
    EXPECT_EQ(t->Count, 70000);
    EXPECT_EQ(t->Color, 0xFF0000);
    EXPECT_FALSE(t->Enabled);
    EXPECT_EQ(t->Shade, TShade::shDark);
    EXPECT_EQ(t->Shades, 0b101u);
    EXPECT_EQ(t->Text, "w\xe9\x80") << "the euro sign is 0x80 in code page 1252";
    EXPECT_EQ(t->Ratio, 2.5L);
    EXPECT_EQ(t->Nested()->Label, "inner");
    EXPECT_EQ(t->Nested()->Size, 8) << "absent property keeps its default";
    EXPECT_EQ(t->Lines()->Lines, (std::vector<std::string>{"one", std::string(300, 'x')}));
    ASSERT_EQ(t->Entries()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(t->Entries()->Items(0))->Weight, -3);
    EXPECT_EQ(static_cast<TTestItem*>(t->Entries()->Items(1))->Key, "b");
    EXPECT_EQ(t->Data(), std::string("\0\1\2", 3));
    EXPECT_EQ(t->Tag, -1);
    t->OnFire(t);
    EXPECT_EQ(form->Fired, 1);
    EXPECT_EQ(t->OnFire.Name, "ThingFired");
    EXPECT_FALSE(t->IsLoading());
    EXPECT_FALSE(form->IsLoading());
}

TEST_F(ReaderTest, WideStringsConvertThroughTheSystemCodePage) {
    EXPECT_EQ(WideToAnsi(u"A\u00e9\u20ac\u0178\u4e2d\U0001F600"), "A\xe9\x80\x9f??")
        << "code page 1252 without a platform; a character beyond 16 bits is one ?";
    TStreamValue wide = Val(TValueType::vaWString);
    wide.Wide = u"\u041f\u0440";
    auto bytes = Stream(Obj("TTestRoot", "Form1", {}, {Obj("TTestThing", "T", {{"Text", wide}})}));
    SetWideToAnsi([](std::u16string_view w) { return "cp1251:" + std::to_string(w.size()); });
    TOwned<TComponent> root(ReadComponentStream(bytes, nullptr));
    SetWideToAnsi({});
    EXPECT_EQ(static_cast<TTestThing*>(root->FindComponent("T"))->Text, "cp1251:2")
        << "the reader converts through the installed conversion";
    EXPECT_EQ(WideToAnsi(u"\u041f"), "?");
}

TEST_F(ReaderTest, ReferencesResolveAfterTheWholeStreamAndLoadedRunsRootFirst) {
    auto bytes = Stream(Obj("TTestRoot", "Form1", {},
                            {Obj("TTestThing", "Shortcut", {{"Link", TStreamValue::Ident("TARGET")}}),
                             Obj("TTestThing", "Target", {{"Link", TStreamValue::Ident("Nowhere")}}),
                             Obj("TTestThing", "Self", {{"Link", Val(TValueType::vaNil)}})}));
    TOwned<TComponent> root(ReadComponentStream(bytes, nullptr));
    auto* shortcut = static_cast<TTestThing*>(root->FindComponent("Shortcut"));
    auto* target = static_cast<TTestThing*>(root->FindComponent("Target"));
    EXPECT_EQ(shortcut->Link(), target);
    EXPECT_EQ(target->Link(), nullptr) << "an unknown name leaves the reference empty";
    EXPECT_EQ(loadedLog, (std::vector<std::string>{"Form1", "Shortcut", "Target", "Self"}));
    std::vector<std::string> order;
    for (int i = 0; i < root->ComponentCount(); ++i)
        order.push_back(root->Components(i)->Name());
    EXPECT_EQ(order, (std::vector<std::string>{"Shortcut", "Target", "Self"}));
}

TEST_F(ReaderTest, ChildRecordsOfAChildAreOwnedByTheRoot) {
    auto bytes =
        Stream(Obj("TTestRoot", "Form1", {}, {Obj("TTestThing", "Panel", {}, {Obj("TTestThing", "Inner", {})})}));
    TOwned<TComponent> root(ReadComponentStream(bytes, nullptr));
    ASSERT_NE(root->FindComponent("Inner"), nullptr);
    EXPECT_EQ(root->FindComponent("Inner")->Owner(), root.get());
}

TEST_F(ReaderTest, StreamErrorsNameTheObjectAndPropertyAndLeaveNothingBehind) {
    auto thing = [](std::vector<TStreamProperty> props) {
        return Stream(Obj("TTestRoot", "Form1", {},
                          {Obj("TTestThing", "Before"), Obj("TTestThing", "Thing1", std::move(props))}));
    };
    EXPECT_EQ(ReadError(thing({{"Nope", TStreamValue::Integer(1)}})),
              "Error reading Thing1.Nope: Property does not exist");
    EXPECT_EQ(ReadError(thing({{"Count", TStreamValue::String("12")}})),
              "Error reading Thing1.Count: Invalid property value");
    EXPECT_EQ(ReadError(thing({{"Shade", TStreamValue::Ident("shPurple")}})),
              "Error reading Thing1.Shade: Invalid property value");
    EXPECT_EQ(ReadError(thing({{"Count.Size", TStreamValue::Integer(1)}})),
              "Error reading Thing1.Count.Size: Invalid property path");
    EXPECT_EQ(ReadError(thing({{"Nested.Nope", TStreamValue::Integer(1)}})),
              "Error reading Thing1.Nested.Nope: Property does not exist");
    EXPECT_EQ(ReadError(thing({{"Nested", TStreamValue::Integer(1)}})),
              "Error reading Thing1.Nested: Invalid property value");
    EXPECT_EQ(ReadError(thing({{"OnFire", TStreamValue::Ident("NoSuchMethod")}})),
              "Error reading Thing1.OnFire: Invalid property value");
    EXPECT_EQ(ReadError(thing({{"OnFire", TStreamValue::Ident("Wrong")}})),
              "Error reading Thing1.OnFire: Invalid property value");
    TStreamValue single = Bytes(TValueType::vaSingle, std::string(4, '\0'));
    EXPECT_EQ(ReadError(thing({{"Ratio", single}})), "Error reading Thing1.Ratio: Invalid property value");
    EXPECT_EQ(ReadError(Stream(Obj("TTestRoot", "Form1", {}, {Obj("TNope", "Thing1")}))),
              "Error reading Thing1: Class TNope not found");
    EXPECT_EQ(ReadError(Stream(Obj("TTestRoot", "Form1", {}, {Obj("TTestThing", "A"), Obj("TTestThing", "a")}))),
              "Error reading a: A component named a already exists");
    EXPECT_EQ(ReadError(Stream(Obj("TTestRoot", "Form1", {}, {Obj("TTestThing", "9lives")}))),
              "Error reading 9lives: ''9lives'' is not a valid component name");
    EXPECT_EQ(ReadError("TPF1"), "Error reading : Invalid stream format");
    // A corrupt name or path stays on one line: its control bytes show as #nn.
    EXPECT_EQ(ReadError(Stream(Obj("TTestRoot", "Form1", {},
                                   {Obj("TTestThing", std::string("A\nB\0", 4), {}), Obj("TTestThing", "C")}))),
              "Error reading A#10B#0: ''A#10B#0'' is not a valid component name");
    EXPECT_EQ(ReadError(thing({{std::string("Co\runt\x7f", 7), TStreamValue::Integer(1)}})),
              "Error reading Thing1.Co#13unt#127: Property does not exist");
    EXPECT_EQ(ReadError(Stream(Obj("TTestRoot", "Form1", {}, {Obj("TNo\nClass", "T")}))),
              "Error reading T: Class TNo#10Class not found");
    std::string cut =
        Stream(Obj("TTestRoot", "Form1", {}, {Obj("TTestThing", "X\tY", {{"Count\n", Val(TValueType::vaInt32)}})}));
    EXPECT_EQ(ReadError(cut.substr(0, cut.size() - 6)), "Error reading X#9Y.Count#10: Stream read error");
}

TEST_F(ReaderTest, TruncatedStreamsFailCleanlyAtEveryCut) {
    auto bytes = Stream(Obj(
        "TTestRoot", "Form1", {},
        {Obj("TTestThing", "Thing1", {{"Count", TStreamValue::Integer(300)}, {"Text", TStreamValue::String("abc")}})}));
    for (size_t cut = 4; cut < bytes.size(); ++cut) {
        std::string message = ReadError(bytes.substr(0, cut));
        EXPECT_NE(message.find(": Stream read error"), std::string::npos) << cut << ": " << message;
    }
    // The last two bytes end the child lists of Thing1 and of the root.
    EXPECT_EQ(ReadError(bytes.substr(0, bytes.size() - 2)), "Error reading Thing1: Stream read error");
    EXPECT_EQ(ReadError(bytes.substr(0, bytes.size() - 1)), "Error reading Form1: Stream read error");
    EXPECT_EQ(ReadError(bytes), "");
}

TEST_F(ReaderTest, AFailedReadIntoAGivenRootFreesWhatItCreated) {
    TOwned<TTestRoot> root(NewForm1());
    new TTestThing(root.get()); // was there before the read
    auto bytes = Stream(Obj("TTestRoot", "Form1", {},
                            {Obj("TTestThing", "A"), Obj("TTestThing", "B", {{"Nope", TStreamValue::Integer(1)}})}));
    EXPECT_THROW(ReadComponentStream(bytes, root.get()), EReadError);
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(root->FindComponent("A"), nullptr);
    EXPECT_FALSE(root->IsLoading());
    EXPECT_THROW(ReadComponentStream(Stream(Obj("TOtherForm", "Form1")), root.get()), EReadError);
}

TEST_F(ReaderTest, WriterOmitsDefaultsAndPicksTheSmallestTags) {
    TOwned<TTestRoot> root(NewForm1());
    auto* t = AddThing(root.get(), "Thing1");
    auto rec = ComponentToRecords(*root);
    ASSERT_EQ(rec.Children.size(), 1u);
    EXPECT_TRUE(rec.Children[0].Properties.empty()) << "a fresh component has only defaults";

    t->Count = 127;
    t->Color = 0xFF;
    t->Enabled = false;
    t->Shades = 0;
    t->Text = std::string(255, 'a');
    t->Lines()->Add(std::string(256, 'b'));
    t->Nested()->Size = -129;
    auto props = ComponentToRecords(*root).Children[0].Properties;
    auto find = [&](const std::string& path) -> const TStreamValue* {
        for (const auto& p : props)
            if (p.Path == path)
                return &p.Value;
        return nullptr;
    };
    ASSERT_NE(find("Count"), nullptr);
    EXPECT_EQ(find("Count")->Type, TValueType::vaInt8);
    EXPECT_EQ(find("Color")->Type, TValueType::vaIdent);
    EXPECT_EQ(find("Color")->Bytes, "clRed");
    EXPECT_EQ(find("Enabled")->Type, TValueType::vaFalse);
    EXPECT_EQ(find("Shades"), nullptr);
    EXPECT_EQ(find("Text")->Type, TValueType::vaString);
    EXPECT_EQ(find("Lines.Strings")->List.at(0).Type, TValueType::vaLString);
    EXPECT_EQ(find("Nested.Size")->Type, TValueType::vaInt16);
    t->Count = -32769;
    t->Shades = 0;
    props = ComponentToRecords(*root).Children[0].Properties;
    EXPECT_EQ(find("Count")->Type, TValueType::vaInt32);
}

TEST_F(ReaderTest, WrittenStreamsReadBackToEqualComponents) {
    TOwned<TTestRoot> root(NewForm1());
    auto* a = AddThing(root.get(), "A");
    auto* b = AddThing(root.get(), "B");
    a->SetLink(b);
    a->Shades = 0b110;
    a->Shade = TShade::shLight;
    a->Text = std::string(1000, 'z');
    a->Ratio = 0.1L;
    a->SetData(std::string(70000, '\xAB'));
    a->Lines()->Add("l1");
    static_cast<TTestItem*>(a->Entries()->Add())->Key = "k";
    a->OnFire = TEvent<TPersistent*>("ThingFired", [](TPersistent*) {});
    std::string bytes = WriteComponentStream(*root);

    TOwned<TComponent> copy(ReadComponentStream(bytes, nullptr));
    auto* a2 = static_cast<TTestThing*>(copy->FindComponent("A"));
    EXPECT_EQ(a2->Link(), copy->FindComponent("B"));
    EXPECT_EQ(a2->Shades, 0b110u);
    EXPECT_EQ(a2->Shade, TShade::shLight);
    EXPECT_EQ(a2->Text, a->Text);
    EXPECT_EQ(a2->Ratio, 0.1L);
    EXPECT_EQ(a2->Data(), a->Data());
    EXPECT_EQ(a2->Lines()->Lines, a->Lines()->Lines);
    EXPECT_EQ(static_cast<TTestItem*>(a2->Entries()->Items(0))->Key, "k");
    EXPECT_EQ(a2->OnFire.Name, "ThingFired");
    EXPECT_EQ(WriteComponentStream(*copy), bytes);
}

TEST_F(ReaderTest, AnEmptySetIsASetWithNoElements) {
    TStreamValue empty = Val(TValueType::vaSet);
    auto bytes = Stream(Obj("TTestRoot", "Form1", {}, {Obj("TTestThing", "T", {{"Shades", empty}})}));
    EXPECT_NE(bytes.find(std::string("\x06Shades\x0b\x00", 9)), std::string::npos);
    // Applied to a component whose set is full, it empties it.
    TOwned<TTestRoot> root(NewForm1());
    auto* t = AddThing(root.get(), "T");
    t->Shades = 0b111;
    ReadComponentStream(Stream(Obj("TTestRoot", "Form1", {}, {Inherited(Obj("TTestThing", "T", {{"Shades", empty}}))})),
                        root.get());
    EXPECT_EQ(t->Shades, 0u);
}

TEST_F(ReaderTest, NilEmptiesAReferenceAndTheRootsOwnNameFindsNothing) {
    TOwned<TTestRoot> root(NewForm1());
    auto* a = AddThing(root.get(), "A");
    auto* b = AddThing(root.get(), "B");
    a->SetLink(b);
    TObjectRecord rec = Obj("TTestRoot", "Form1", {},
                            {Inherited(Obj("TTestThing", "A", {{"Link", Val(TValueType::vaNil)}})),
                             Obj("TTestThing", "C", {{"Link", TStreamValue::Ident("Form1")}})});
    ReadComponentStream(Stream(rec), root.get());
    EXPECT_EQ(a->Link(), nullptr);
    EXPECT_EQ(static_cast<TTestThing*>(root->FindComponent("C"))->Link(), nullptr);

    // An inherited record naming a component found nowhere empties the reference it had.
    a->SetLink(b);
    ReadComponentStream(Stream(Obj("TTestRoot", "Form1", {},
                                   {Inherited(Obj("TTestThing", "A", {{"Link", TStreamValue::Ident("Gone")}}))})),
                        root.get());
    EXPECT_EQ(a->Link(), nullptr);
}

TEST_F(ReaderTest, EventsTakeOnlyMethodNamesAndLinesOnlyStrings) {
    auto thing = [](std::vector<TStreamProperty> props) {
        return Stream(Obj("TTestRoot", "Form1", {}, {Obj("TTestThing", "T", std::move(props))}));
    };
    EXPECT_EQ(ReadError(thing({{"OnFire", Val(TValueType::vaNil)}})), "Error reading T.OnFire: Invalid property value");
    TStreamValue lines = Val(TValueType::vaList);
    TStreamValue wide = Val(TValueType::vaWString);
    wide.Wide = u"line";
    lines.List = {TStreamValue::String("ok"), wide};
    EXPECT_EQ(ReadError(thing({{"Lines.Strings", lines}})), "Error reading T.Lines.Strings: Invalid property value");
}

TEST_F(ReaderTest, AFailedReadLeavesExistingComponentsOutOfTheLoadingState) {
    TOwned<TTestRoot> root(NewForm1());
    auto* t = AddThing(root.get(), "T");
    TObjectRecord rec = Obj("TTestRoot", "Form1", {},
                            {Inherited(Obj("TTestThing", "T", {{"Count", TStreamValue::Integer(4)}})),
                             Obj("TTestThing", "New", {{"Nope", TStreamValue::Integer(1)}})});
    EXPECT_THROW(ReadComponentStream(Stream(rec), root.get()), EReadError);
    EXPECT_EQ(root->FindComponent("T"), t);
    EXPECT_EQ(root->FindComponent("New"), nullptr);
    EXPECT_FALSE(t->IsLoading());
    EXPECT_FALSE(t->IsReading());
    EXPECT_FALSE(root->IsLoading());
}

} // namespace
} // namespace sw::test
