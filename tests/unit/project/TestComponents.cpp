#include "unit/project/TestComponents.h"

#include "project/ClassRegistry.h"
#include "project/Text.h"

namespace sw::test {

namespace {
const TEnumInfo kShades{{"shLight", "shMedium", "shDark"}};
const TIdentMap kColors{{{"clRed", 0xFF}, {"clBlue", 0xFF0000}}};
} // namespace

std::vector<std::string>* TTestThing::LoadedLog = nullptr;
int TTestThing::Alive = 0;

SW_CLASS_INFO(TTestNested, TPersistent, prop::String("Label", &Self::Label), prop::Integer("Size", &Self::Size, 8))

SW_CLASS_INFO(TTestItem, TCollectionItem, prop::String("Key", &Self::Key), prop::Integer("Weight", &Self::Weight),
              prop::Reference("Target", &Self::Target, &Self::SetTarget))

SW_CLASS_INFO(TTestThing, TComponent, prop::Integer("Count", &Self::Count),
              prop::Integer("Color", &Self::Color, 0, &kColors), prop::Boolean("Enabled", &Self::Enabled, true),
              prop::Enumeration("Shade", &Self::Shade, kShades, std::optional(TShade::shMedium)),
              prop::Set("Shades", &Self::Shades, kShades, 0u), prop::String("Text", &Self::Text),
              prop::Float("Ratio", &Self::Ratio), prop::Object("Nested", &Self::Nested),
              prop::Object("Lines", &Self::Lines), prop::Collection("Entries", &Self::Entries),
              prop::Binary("Data", &Self::Data, &Self::SetData), prop::Reference("Link", &Self::Link, &Self::SetLink),
              prop::Event("OnFire", &Self::OnFire))

SW_CLASS_INFO(TTestRoot, TComponent)

TTestThing::TTestThing(TComponent* owner)
    : TComponent(owner), entries_(std::make_unique<TCollection>([] { return std::make_unique<TTestItem>(); })) {
    ++Alive;
}

TTestThing::~TTestThing() { --Alive; }

void TTestThing::SetLink(TTestThing* t) {
    link_ = t;
    if (t)
        t->FreeNotification(this);
}

void TTestThing::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == link_)
        link_ = nullptr;
}

void TTestThing::Loaded() {
    TComponent::Loaded();
    if (LoadedLog)
        LoadedLog->push_back(Name());
}

void TTestRoot::Loaded() {
    TComponent::Loaded();
    if (TTestThing::LoadedLog)
        TTestThing::LoadedLog->push_back(Name());
}

std::any TTestRoot::FindMethod(std::string_view name) const {
    auto* self = const_cast<TTestRoot*>(this);
    if (SameText(name, "ThingFired"))
        return std::function<void(TPersistent*)>([self](TPersistent*) { ++self->Fired; });
    if (SameText(name, "Wrong"))
        return std::function<void(int)>([](int) {});
    return {};
}

void RegisterTestClasses() {
    RegisterClass<TTestThing>();
    RegisterClass<TTestRoot>();
}

} // namespace sw::test
