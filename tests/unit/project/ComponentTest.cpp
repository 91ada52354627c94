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
}

// Counts the remove notifications it hears about other components, and whether
// each came while the leaving component was still whole.
struct Listener : TComponent {
    Listener(TComponent* owner, std::vector<std::string>& heard) : TComponent(owner), heard_(heard) {}
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == TOperation::opRemove && c != this)
            heard_.push_back(dynamic_cast<TTestThing*>(c) ? c->Name() : "(partly destroyed)");
    }
    std::vector<std::string>& heard_;
};

TEST_F(ComponentTest, AWatcherThatLeavesFirstIsForgotten) {
    TOwned<TTestRoot> rootA(new TTestRoot(nullptr));
    TOwned<TTestRoot> rootB(new TTestRoot(nullptr));
    auto* watcher = new TTestThing(rootA.get());
    watcher->SetName("Watcher");
    std::vector<std::string> heard;
    auto* target = new Listener(rootB.get(), heard);
    watcher->FreeNotification(target);
    TComponent::Free(watcher);
    EXPECT_EQ(heard, (std::vector<std::string>{"Watcher"}));
    TComponent::Free(target); // must not tell the freed watcher (ASan reports it if it does)
}

TEST_F(ComponentTest, DestroyingFlagIsSetOnEverythingOwned) {
    struct Probe : TComponent {
        Probe(TComponent* o, bool& seen) : TComponent(o), owner(o), seen_(seen) {}
        ~Probe() override { seen_ = owner->IsDestroying() && IsDestroying(); }
        TComponent* owner;
        bool& seen_;
    };
    bool sawDestroying = false;
    auto* root = new TTestRoot(nullptr);
    new Probe(root, sawDestroying);
    TComponent::Free(root);
    EXPECT_TRUE(sawDestroying);
}

TEST_F(ComponentTest, OwnedComponentsLeaveTheListBeforeTheyAreDestroyedAndSiblingsAreTold) {
    struct Witness : TTestThing {
        Witness(TComponent* o, std::vector<bool>& log) : TTestThing(o), log_(log) {}
        ~Witness() override { log_.push_back(Owner() != nullptr); }
        std::vector<bool>& log_;
    };
    std::vector<bool> stillOwned;
    auto* root = new TTestRoot(nullptr);
    std::vector<std::string> heard;
    new Listener(root, heard);
    auto* alone = new Witness(root, stillOwned);
    alone->SetName("Alone");
    TComponent::Free(alone);
    EXPECT_EQ(heard, (std::vector<std::string>{"Alone"}));
    auto* last = new Witness(root, stillOwned);
    last->SetName("Last");
    TComponent::Free(root); // Last goes before First, and First hears of it while Last is whole
    EXPECT_EQ(heard, (std::vector<std::string>{"Alone", "Last"}));
    EXPECT_EQ(stillOwned, (std::vector<bool>{false, false}));
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
