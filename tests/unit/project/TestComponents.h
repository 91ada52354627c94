// Component classes with one published property of every kind, for the
// component model, reader and writer tests.
#pragma once

#include "project/Collection.h"
#include "project/Component.h"
#include "project/StringList.h"

#include <memory>
#include <string>
#include <vector>

namespace sw::test {

enum class TShade { shLight, shMedium, shDark };

class TTestNested : public TPersistent {
    SW_DECLARE_CLASS()
  public:
    std::string Label;
    int32_t Size = 8;
};

class TTestThing;

class TTestItem : public TCollectionItem {
    SW_DECLARE_CLASS()
  public:
    std::string Key;
    int32_t Weight = 0;
    TTestThing* Target() const { return target_; }
    void SetTarget(TTestThing* t) { target_ = t; }

  private:
    TTestThing* target_ = nullptr;
};

class TTestThing : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TTestThing(TComponent* owner);
    ~TTestThing() override;

    int32_t Count = 0;
    int32_t Color = 0;
    bool Enabled = true;
    TShade Shade = TShade::shMedium;
    uint32_t Shades = 0;
    std::string Text;
    long double Ratio = 0;
    TTestNested* Nested() const { return nested_.get(); }
    TStrings* Lines() const { return lines_.get(); }
    TCollection* Entries() const { return entries_.get(); }
    std::string Data() const { return data_; }
    void SetData(const std::string& d) { data_ = d; }
    TTestThing* Link() const { return link_; }
    void SetLink(TTestThing* t);
    TEvent<TPersistent*> OnFire;

    void Notification(TComponent* c, TOperation op) override;
    void Loaded() override;

    static std::vector<std::string>* LoadedLog; // names in the order Loaded ran
    static int Alive;

  private:
    std::unique_ptr<TTestNested> nested_ = std::make_unique<TTestNested>();
    std::unique_ptr<TStrings> lines_ = std::make_unique<TStrings>();
    std::unique_ptr<TCollection> entries_;
    std::string data_;
    TTestThing* link_ = nullptr;
};

// The root form of the tests: publishes the methods "ThingFired" and "Wrong".
class TTestRoot : public TComponent {
    SW_DECLARE_CLASS()
  public:
    using TComponent::TComponent;
    std::any FindMethod(std::string_view name) const override;
    void Loaded() override;
    int Fired = 0;
};

// Registers the test classes (idempotent).
void RegisterTestClasses();

} // namespace sw::test
