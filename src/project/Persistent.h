// The base of everything that has published properties: components and the
// nested objects they own (fonts, string lists, build settings, pictures).
#pragma once

#include "project/PropInfo.h"

namespace sw {

class TPersistent {
  public:
    virtual ~TPersistent() = default;
    TPersistent() = default;
    TPersistent(const TPersistent&) = delete;
    TPersistent& operator=(const TPersistent&) = delete;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const std::string& ClassName() const { return ClassInfo().Name; }
    bool InheritsFrom(const TClassInfo& c) const { return ClassInfo().InheritsFrom(c); }
};

// Declares the class's own property table; the table is defined in the .cpp
// with SW_CLASS_INFO.
#define SW_DECLARE_CLASS()                                                                                             \
  public:                                                                                                              \
    static const ::sw::TClassInfo& StaticClassInfo();                                                                  \
    const ::sw::TClassInfo& ClassInfo() const override { return StaticClassInfo(); }

#define SW_CLASS_INFO(Class, Parent, ...)                                                                              \
    const ::sw::TClassInfo& Class::StaticClassInfo() {                                                                 \
        using Self = Class;                                                                                            \
        static const ::sw::TClassInfo info(#Class, &Parent::StaticClassInfo(), {__VA_ARGS__});                         \
        (void)sizeof(Self*);                                                                                           \
        return info;                                                                                                   \
    }

} // namespace sw
