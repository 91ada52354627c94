#include "unit/project/TestComponents.h"

#include "project/Errors.h"
#include "project/PublishedDefaults.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

TEST(PropInfoTest, AnEmptyAccessorRaisesInsteadOfCrashing) {
    TAccessor<int64_t(const TPersistent&)> empty;
    EXPECT_FALSE(empty);
    TOwned<TTestRoot> root(new TTestRoot(nullptr));
    try {
        empty(*root);
        FAIL() << "an empty accessor was called";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "A property has no accessor for this use");
    }
    // The table of a string property has no ordinal accessors.
    const TPropInfo* text = TTestThing::StaticClassInfo().FindProperty("Text");
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(text->GetOrdinal);
    EXPECT_THROW(text->GetOrdinal(*root), EInvalidOperation);
}

TEST(PropInfoTest, CopiedEntriesKeepTheirAccessorsAndCaptures) {
    TOwned<TTestRoot> root(new TTestRoot(nullptr));
    auto* thing = new TTestThing(root.get());
    const TPropInfo* count = TTestThing::StaticClassInfo().FindProperty("Count");
    const TPropInfo* text = TTestThing::StaticClassInfo().FindProperty("Text");
    ASSERT_NE(count, nullptr);
    ASSERT_NE(text, nullptr);
    TPropInfo countCopy = *count;
    TPropInfo textCopy;
    textCopy = *text;
    countCopy.SetOrdinal(*thing, 42);
    textCopy.SetString(*thing, "copied");
    EXPECT_EQ(thing->Count, 42);
    EXPECT_EQ(thing->Text, "copied");
    EXPECT_EQ(count->GetOrdinal(*thing), 42);
    TPropInfo moved = std::move(countCopy);
    EXPECT_EQ(moved.GetOrdinal(*thing), 42);

    // A captured value travels with the copy.
    int calls = 0;
    int* counter = &calls;
    TAccessor<int(int)> add = [counter](int n) { return *counter += n; };
    TAccessor<int(int)> again = add;
    add(2);
    EXPECT_EQ(again(3), 5);
    EXPECT_TRUE(again);
}

// What a constructor would set otherwise stands in for a wrong table.
TEST(PropInfoTest, ValuesOtherThanTheDeclaredDefaultsAreFoundInNestedObjectsToo) {
    TOwned<TTestRoot> root(new TTestRoot(nullptr));
    auto* thing = new TTestThing(root.get());
    EXPECT_TRUE(FindDefaultMismatches(*thing).empty());
    thing->Shade = TShade::shDark;
    thing->Text = "x";
    thing->Nested()->Size = 9;
    thing->Count = 3;
    std::vector<std::string> found;
    for (const TDefaultMismatch& m : FindDefaultMismatches(*thing))
        found.push_back(m.Class + "." + m.Property + " " + m.Declared + "/" + m.Constructed);
    EXPECT_EQ(found, (std::vector<std::string>{"TTestThing.Count 0/3", "TTestThing.Shade 1/2", "TTestThing.Text ''/'x'",
                                               "TTestThing.Nested.Size 8/9"}));
}

} // namespace
} // namespace sw::test
