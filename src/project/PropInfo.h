// Published property descriptors: one table per class, inherited by
// subclasses. The stream reader and writer, the text form and the translator
// walk these tables; no class has reading code of its own.
#pragma once

#include "project/Accessor.h"

#include <any>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <typeinfo>
#include <utility>
#include <vector>

namespace sw {

class TPersistent;
class TComponent;

enum class TPropKind {
    Integer, // int32; optionally named values (colours, cursors, character sets)
    Boolean,
    Enumeration, // ordinal with a name table
    Set,         // bit mask over an enumeration's ordinals
    String,
    Float,
    Object,     // a nested object the instance owns: the path walks through it
    Reference,  // a component of the same root, by name; resolved after the stream
    Event,      // a method of the root form, by name; resolved after the stream
    Binary,     // raw bytes (picture and bitmap data)
    StringList, // the lines of a string list ("Lines.Strings")
    Collection, // items with properties of their own
};

enum class TFloatType { Extended, Single, Currency, Date };

// The ordered names of an enumeration, matched without regard to case.
struct TEnumInfo {
    std::vector<std::string> Names;
    std::optional<int> IndexOf(std::string_view name) const;
};

// Names for some integer values (clBtnFace, DEFAULT_CHARSET, ...).
struct TIdentMap {
    std::vector<std::pair<std::string, int32_t>> Entries;
    std::optional<int32_t> ValueOf(std::string_view name) const;
    const std::string* NameOf(int32_t value) const;
};

class TCollection;

struct TPropInfo {
    // Out of line: every class table builds, copies and destroys these.
    TPropInfo();
    TPropInfo(const TPropInfo&);
    TPropInfo(TPropInfo&&) noexcept;
    TPropInfo& operator=(const TPropInfo&);
    TPropInfo& operator=(TPropInfo&&) noexcept;
    ~TPropInfo();

    std::string Name;
    TPropKind Kind = TPropKind::Integer;
    const TEnumInfo* Enum = nullptr;   // Enumeration, Set
    const TIdentMap* Idents = nullptr; // Integer
    TFloatType FloatType = TFloatType::Extended;
    std::optional<int64_t> Default; // Integer, Boolean, Enumeration, Set: equal values are not written
    // String: an equal value is not written. A property whose constructor
    // sets another value declares none, so every value of it is written.
    std::optional<std::string> StringDefault;

    // Accessors by kind; unused ones stay empty.
    TAccessor<int64_t(const TPersistent&)> GetOrdinal; // Integer, Boolean, Enumeration, Set
    TAccessor<void(TPersistent&, int64_t)> SetOrdinal;
    TAccessor<std::string(const TPersistent&)> GetString; // String, Binary
    TAccessor<void(TPersistent&, const std::string&)> SetString;
    TAccessor<long double(const TPersistent&)> GetFloat;
    TAccessor<void(TPersistent&, long double)> SetFloat;
    TAccessor<TPersistent*(const TPersistent&)> GetObject; // Object
    TAccessor<TComponent*(const TPersistent&)> GetReference;
    // Raises "Invalid property value" when the component is of the wrong class.
    TAccessor<void(TPersistent&, TComponent*)> SetReference;
    TAccessor<std::string(const TPersistent&)> GetEventName;
    // Binds the handler the root form found for the name (an empty any clears);
    // raises "Invalid property value" when its signature does not fit.
    TAccessor<void(TPersistent&, const std::string&, const std::any&)> SetEvent;
    TAccessor<std::vector<std::string>(const TPersistent&)> GetLines; // StringList
    TAccessor<void(TPersistent&, const std::vector<std::string>&)> SetLines;
    TAccessor<TCollection*(const TPersistent&)> GetCollection;
    // When set and false, the property is not written.
    TAccessor<bool(const TPersistent&)> Stored;
};

struct TClassInfo {
    TClassInfo(std::string name, const TClassInfo* parent, std::vector<TPropInfo> own);

    std::string Name;
    const TClassInfo* Parent;
    // Every published property in stream order: the parent's first, a
    // redeclared one in its parent's place.
    std::vector<TPropInfo> Properties;

    const TPropInfo* FindProperty(std::string_view name) const;
    bool InheritsFrom(const TClassInfo& other) const;
};

// A typed event: the handler bound from the stream, and the method name it
// was bound by (written back when the project is saved).
template <class... Args> class TEvent {
  public:
    using Handler = std::function<void(Args...)>;
    TEvent() = default;
    TEvent(std::string name, Handler h) : Name(std::move(name)), Fn(std::move(h)) {}
    explicit operator bool() const { return static_cast<bool>(Fn); }
    void operator()(Args... args) const {
        if (Fn)
            Fn(std::forward<Args>(args)...);
    }
    std::string Name;
    Handler Fn;
};

[[noreturn]] void RaiseInvalidPropertyValue();

// The handler of a method the stream names but the program does not carry
// (the build reads a project without its author's code): the event keeps the
// name and does nothing.
struct TUnboundMethod {};

// Builders for table entries, from fields or accessor pairs of class C.
namespace prop {

TPropInfo MakeProp(const char* name, TPropKind kind);
TPropInfo MakeProp(std::string name, TPropKind kind);

template <class C>
TPropInfo Integer(const char* name, int32_t C::*field, std::optional<int64_t> def = 0,
                  const TIdentMap* idents = nullptr) {
    TPropInfo p = MakeProp(name, TPropKind::Integer);
    p.Idents = idents;
    p.Default = def;
    p.GetOrdinal = [field](const TPersistent& o) -> int64_t { return static_cast<const C&>(o).*field; };
    p.SetOrdinal = [field](TPersistent& o, int64_t v) { static_cast<C&>(o).*field = static_cast<int32_t>(v); };
    return p;
}

template <class C, class S>
TPropInfo Integer(const char* name, int32_t (C::*get)() const, void (S::*set)(int32_t), std::optional<int64_t> def = 0,
                  const TIdentMap* idents = nullptr) {
    TPropInfo p = MakeProp(name, TPropKind::Integer);
    p.Idents = idents;
    p.Default = def;
    p.GetOrdinal = [get](const TPersistent& o) -> int64_t { return (static_cast<const C&>(o).*get)(); };
    p.SetOrdinal = [set](TPersistent& o, int64_t v) { (static_cast<S&>(o).*set)(static_cast<int32_t>(v)); };
    return p;
}

template <class C> TPropInfo Boolean(const char* name, bool C::*field, std::optional<bool> def) {
    TPropInfo p = MakeProp(name, TPropKind::Boolean);
    if (def)
        p.Default = *def ? 1 : 0;
    p.GetOrdinal = [field](const TPersistent& o) -> int64_t { return (static_cast<const C&>(o).*field) ? 1 : 0; };
    p.SetOrdinal = [field](TPersistent& o, int64_t v) { static_cast<C&>(o).*field = v != 0; };
    return p;
}

template <class C, class S>
TPropInfo Boolean(const char* name, bool (C::*get)() const, void (S::*set)(bool), std::optional<bool> def) {
    TPropInfo p = MakeProp(name, TPropKind::Boolean);
    if (def)
        p.Default = *def ? 1 : 0;
    p.GetOrdinal = [get](const TPersistent& o) -> int64_t { return (static_cast<const C&>(o).*get)() ? 1 : 0; };
    p.SetOrdinal = [set](TPersistent& o, int64_t v) { (static_cast<S&>(o).*set)(v != 0); };
    return p;
}

template <class C, class E>
TPropInfo Enumeration(const char* name, E C::*field, const TEnumInfo& names, std::optional<E> def) {
    TPropInfo p = MakeProp(name, TPropKind::Enumeration);
    p.Enum = &names;
    if (def)
        p.Default = static_cast<int64_t>(*def);
    p.GetOrdinal = [field](const TPersistent& o) -> int64_t {
        return static_cast<int64_t>(static_cast<const C&>(o).*field);
    };
    p.SetOrdinal = [field](TPersistent& o, int64_t v) { static_cast<C&>(o).*field = static_cast<E>(v); };
    return p;
}

template <class C, class S, class E>
TPropInfo Enumeration(const char* name, E (C::*get)() const, void (S::*set)(E), const TEnumInfo& names,
                      std::optional<E> def) {
    TPropInfo p = MakeProp(name, TPropKind::Enumeration);
    p.Enum = &names;
    if (def)
        p.Default = static_cast<int64_t>(*def);
    p.GetOrdinal = [get](const TPersistent& o) -> int64_t {
        return static_cast<int64_t>((static_cast<const C&>(o).*get)());
    };
    p.SetOrdinal = [set](TPersistent& o, int64_t v) { (static_cast<S&>(o).*set)(static_cast<E>(v)); };
    return p;
}

// A set is a bit mask: bit i stands for the enumeration's i-th name.
template <class C>
TPropInfo Set(const char* name, uint32_t C::*field, const TEnumInfo& names, std::optional<uint32_t> def) {
    TPropInfo p = MakeProp(name, TPropKind::Set);
    p.Enum = &names;
    if (def)
        p.Default = *def;
    p.GetOrdinal = [field](const TPersistent& o) -> int64_t { return static_cast<const C&>(o).*field; };
    p.SetOrdinal = [field](TPersistent& o, int64_t v) { static_cast<C&>(o).*field = static_cast<uint32_t>(v); };
    return p;
}

template <class C, class S>
TPropInfo Set(const char* name, uint32_t (C::*get)() const, void (S::*set)(uint32_t), const TEnumInfo& names,
              std::optional<uint32_t> def) {
    TPropInfo p = MakeProp(name, TPropKind::Set);
    p.Enum = &names;
    if (def)
        p.Default = *def;
    p.GetOrdinal = [get](const TPersistent& o) -> int64_t { return (static_cast<const C&>(o).*get)(); };
    p.SetOrdinal = [set](TPersistent& o, int64_t v) { (static_cast<S&>(o).*set)(static_cast<uint32_t>(v)); };
    return p;
}

// A string property; `def` is the value left out of streams (none: always written).
template <class C>
TPropInfo String(const char* name, std::string C::*field, std::optional<std::string_view> def = std::string_view()) {
    TPropInfo p = MakeProp(name, TPropKind::String);
    if (def)
        p.StringDefault = std::string(*def);
    p.GetString = [field](const TPersistent& o) { return static_cast<const C&>(o).*field; };
    p.SetString = [field](TPersistent& o, const std::string& v) { static_cast<C&>(o).*field = v; };
    return p;
}

template <class C, class S>
TPropInfo String(const char* name, std::string (C::*get)() const, void (S::*set)(const std::string&),
                 std::optional<std::string_view> def = std::string_view()) {
    TPropInfo p = MakeProp(name, TPropKind::String);
    if (def)
        p.StringDefault = std::string(*def);
    p.GetString = [get](const TPersistent& o) { return (static_cast<const C&>(o).*get)(); };
    p.SetString = [set](TPersistent& o, const std::string& v) { (static_cast<S&>(o).*set)(v); };
    return p;
}

template <class C> TPropInfo Float(const char* name, long double C::*field, TFloatType type = TFloatType::Extended) {
    TPropInfo p = MakeProp(name, TPropKind::Float);
    p.FloatType = type;
    p.GetFloat = [field](const TPersistent& o) { return static_cast<const C&>(o).*field; };
    p.SetFloat = [field](TPersistent& o, long double v) { static_cast<C&>(o).*field = v; };
    return p;
}

template <class C, class S>
TPropInfo Binary(const char* name, std::string (C::*get)() const, void (S::*set)(const std::string&)) {
    TPropInfo p = String(name, get, set);
    p.Kind = TPropKind::Binary;
    return p;
}

// A nested object owned by the instance, reached by a getter.
template <class C, class T> TPropInfo Object(const char* name, T* (C::*get)() const) {
    TPropInfo p = MakeProp(name, TPropKind::Object);
    p.GetObject = [get](const TPersistent& o) -> TPersistent* { return (static_cast<const C&>(o).*get)(); };
    return p;
}

// A reference to a component of class T, stored in a field or through a setter.
template <class C, class S, class T> TPropInfo Reference(const char* name, T* (C::*get)() const, void (S::*set)(T*)) {
    TPropInfo p = MakeProp(name, TPropKind::Reference);
    p.GetReference = [get](const TPersistent& o) -> TComponent* { return (static_cast<const C&>(o).*get)(); };
    p.SetReference = [set](TPersistent& o, TComponent* c) {
        T* typed = nullptr;
        if (c) {
            typed = dynamic_cast<T*>(c);
            if (!typed)
                RaiseInvalidPropertyValue();
        }
        (static_cast<S&>(o).*set)(typed);
    };
    return p;
}

template <class C, class... Args> TPropInfo Event(const char* name, TEvent<Args...> C::*field) {
    TPropInfo p = MakeProp(name, TPropKind::Event);
    p.GetEventName = [field](const TPersistent& o) { return (static_cast<const C&>(o).*field).Name; };
    p.SetEvent = [field](TPersistent& o, const std::string& method, const std::any& handler) {
        auto& ev = static_cast<C&>(o).*field;
        if (!handler.has_value()) {
            ev = {};
            return;
        }
        if (handler.type() == typeid(TUnboundMethod)) {
            ev = TEvent<Args...>(method, {});
            return;
        }
        auto* fn = std::any_cast<typename TEvent<Args...>::Handler>(&handler);
        if (!fn)
            RaiseInvalidPropertyValue();
        ev = TEvent<Args...>(method, *fn);
    };
    return p;
}

template <class C, class T> TPropInfo Collection(const char* name, T* (C::*get)() const) {
    TPropInfo p = MakeProp(name, TPropKind::Collection);
    p.GetCollection = [get](const TPersistent& o) -> TCollection* { return (static_cast<const C&>(o).*get)(); };
    return p;
}

inline TPropInfo WithStored(TPropInfo p, TAccessor<bool(const TPersistent&)> stored) {
    p.Stored = std::move(stored);
    return p;
}

} // namespace prop
} // namespace sw
