#include "unit/project/TestComponents.h"

#include "project/Errors.h"

#include <gtest/gtest.h>

namespace sw::test {
namespace {

struct ComponentTest : ::testing::Test {
    void SetUp() override { TTestThing::Alive = 0; }
    void TearDown() override { EXPECT_EQ(TTestThing::Alive, 0); }
};

TEST_F(ComponentTest, NamesAreIdentifiersUniqueWithoutRegardToCase) {
    TOwned<TTestRoot> root(new TTestRoot(nullptr));
    auto* a = new TTestThing(root.get());
    auto* b = new TTestThing(root.get());
    a->SetName("Install1");
    try {
        b->SetName("INSTALL1");
        FAIL() << "duplicate accepted";
    } catch (const EComponentError& e) {
        EXPECT_STREQ(e.what(), "A component named INSTALL1 already exists");
    }
    for (const char* bad : {"1abc", "a-b", " x", "x y"}) {
        try {
            b->SetName(bad);
            FAIL() << bad;
        } catch (const EComponentError& e) {
            EXPECT_EQ(e.Message(), std::string("''") + bad + "'' is not a valid component name");
        }
    }
    b->SetName("_x9");
    a->SetName("install1"); // renaming itself is not a duplicate
    b->SetName("");         // unnamed is allowed
    EXPECT_EQ(root->FindComponent("INSTALL1"), a);
    EXPECT_EQ(root->FindComponent("_X9"), nullptr);
    EXPECT_EQ(root->FindComponent(""), nullptr);
}

TEST_F(ComponentTest, OwnerFreesOwnedComponentsLastToFirst) {
    std::vector<std::string> order;
    struct Recorder : TComponent {
        Recorder(TComponent* o, std::vector<std::string>& log, std::string n) : TComponent(o), log_(log) { SetName(n); }
        ~Recorder() override { log_.push_back(Name()); }
        std::vector<std::string>& log_;
    };
    auto* root = new TTestRoot(nullptr);
    new Recorder(root, order, "A");
    new Recorder(root, order, "B");
    new Recorder(root, order, "C");
    ASSERT_EQ(root->ComponentCount(), 3);
    TComponent::Free(root);
    EXPECT_EQ(order, (std::vector<std::string>{"C", "B", "A"}));
}

TEST_F(ComponentTest, DestroyingAReferencedComponentClearsTheReference) {
    TOwned<TTestRoot> root(new TTestRoot(nullptr));
    auto* shortcut = new TTestThing(root.get());
    auto* file = new TTestThing(root.get());
    shortcut->SetLink(file);
    TComponent::Free(file);
    EXPECT_EQ(shortcut->Link(), nullptr);
    EXPECT_EQ(root->ComponentCount(), 1);
}

TEST_F(ComponentTest, FreeNotificationReachesComponentsOfAnotherOwner) {
    TOwned<TTestRoot> rootA(new TTestRoot(nullptr));
    TOwned<TTestRoot> rootB(new TTestRoot(nullptr));
    auto* watcher = new TTestThing(rootA.get());
    auto* target = new TTestThing(rootB.get());
    watcher->SetLink(target);
    TComponent::Free(target);
    EXPECT_EQ(watcher->Link(), nullptr);
    // And the other way round: the watcher leaves first, the target forgets it.
    auto* target2 = new TTestThing(rootB.get());
    watcher->SetLink(target2);
    TComponent::Free(watcher);
    TComponent::Free(target2);
}

TEST_F(ComponentTest, DestroyingFlagIsSetOnEverythingOwned) {
    bool sawDestroying = false;
    struct Probe : TComponent {
        Probe(TComponent* o, bool& seen) : TComponent(o), seen_(seen) {}
        ~Probe() override { seen_ = Owner() && Owner()->IsDestroying() && IsDestroying(); }
        bool& seen_;
    };
    auto* root = new TTestRoot(nullptr);
    new Probe(root, sawDestroying);
    TComponent::Free(root);
    EXPECT_TRUE(sawDestroying);
}

TEST_F(ComponentTest, InsertAndRemoveAreForwardedToSiblings) {
    struct Listener : TComponent {
        using TComponent::TComponent;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (c != this)
                seen.push_back(op);
        }
        std::vector<TOperation> seen;
    };
    TOwned<TTestRoot> root(new TTestRoot(nullptr));
    auto* listener = new Listener(root.get());
    auto* other = new TTestThing(root.get());
    TComponent::Free(other);
    EXPECT_EQ(listener->seen, (std::vector<TOperation>{TOperation::opInsert, TOperation::opRemove}));
}

} // namespace
} // namespace sw::test
