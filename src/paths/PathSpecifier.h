// Path specifiers: named components that give the base folder (or archive
// file) of an install object, and the two program-wide lists they live in.
#pragma once

#include "project/Component.h"

#include <string>
#include <vector>

namespace sw {

using TGetPathEvent = TEvent<TComponent*, std::string&>;

class TCustomPathSpecifier : public TComponent {
    SW_DECLARE_CLASS()
  public:
    explicit TCustomPathSpecifier(TComponent* owner);
    ~TCustomPathSpecifier() override;

    // Raises IEPathSpecifier when this specifier cannot serve `component`.
    virtual void ValidateComponent(TComponent* component) const;
    virtual std::string GetDescription() const;
    virtual std::string GetComponentDescription(TComponent* component) const;
    // The base asks OnGetPath, starting from an empty path.
    virtual std::string GetPath(TComponent* component) const;

    // Empty for project-defined specifiers.
    const std::string& StandardName() const { return standardName_; }

    TGetPathEvent OnGetPath;

  protected:
    std::string standardName_;
};

// A specifier defined by the project; its path comes from OnGetPath.
class TPathSpecifier : public TCustomPathSpecifier {
    SW_DECLARE_CLASS()
  public:
    explicit TPathSpecifier(TComponent* owner);
    std::string GetDescription() const override { return Description; }

    std::string Description = "My cool new path specifier";
};

class TStandardPathSpecifier : public TCustomPathSpecifier {
    SW_DECLARE_CLASS()
  public:
    TStandardPathSpecifier(TComponent* owner, std::string standardName);
    ~TStandardPathSpecifier() override;
};

// An ordered list of specifiers; it does not own them.
class TPathSpecifierList {
  public:
    // Raises IEPathSpecifierList for none.
    void Add(TCustomPathSpecifier* specifier);
    void Remove(TCustomPathSpecifier* specifier);
    int Count() const { return static_cast<int>(items_.size()); }
    TCustomPathSpecifier* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    // The first specifier of that class or a class derived from it; raises
    // IEPathSpecifier when there is none.
    TCustomPathSpecifier* FindByClass(const TClassInfo& cls) const;
    template <class T> T* FindByClass() const { return static_cast<T*>(FindByClass(T::StaticClassInfo())); }
    bool HasClass(const TClassInfo& cls) const;

  private:
    std::vector<TCustomPathSpecifier*> items_;
};

using TStandardPathSpecList = TPathSpecifierList;

// The path specifiers' part of the program state.
struct TPathSpecifierLists {
    TPathSpecifierList All;
    TStandardPathSpecList Standard;
};

// Every live specifier, and every live standard one.
TPathSpecifierList& AllPathSpecifiers();
TStandardPathSpecList& StandardPathSpecifiers();

// Creates, owned by `owner` and named by their standard names, the standard
// specifiers of which no instance lives yet, in their fixed order.
void EnsureStandardSpecifiers(TComponent* owner);

} // namespace sw
