#include "project/Reader.h"

#include "project/ClassRegistry.h"
#include "project/Collection.h"
#include "project/Text.h"

#include <algorithm>
#include <cstring>

namespace sw {

namespace {

// "Error reading %s%s%s: %s". Names, paths and class names come from the
// stream and may be corrupt, so control bytes are shown as #nn.
std::string ReadErrorText(const std::string& object, const std::string& path, const std::string& message) {
    return EscapeControls(Format("Error reading %s%s%s: %s", {object, path.empty() ? "" : ".", path, message}));
}

[[noreturn]] void Invalid() { RaiseInvalidPropertyValue(); }

int64_t OrdinalOf(const TPropInfo& prop, const TStreamValue& v) {
    switch (prop.Kind) {
    case TPropKind::Integer:
        if (v.IsInteger())
            return v.Int;
        if (v.Type == TValueType::vaIdent && prop.Idents)
            if (auto value = prop.Idents->ValueOf(v.Bytes))
                return *value;
        Invalid();
    case TPropKind::Boolean:
        if (v.Type == TValueType::vaTrue)
            return 1;
        if (v.Type == TValueType::vaFalse)
            return 0;
        Invalid();
    case TPropKind::Enumeration:
        if (v.Type == TValueType::vaIdent)
            if (auto index = prop.Enum->IndexOf(v.Bytes))
                return *index;
        Invalid();
    case TPropKind::Set: {
        if (v.Type != TValueType::vaSet)
            Invalid();
        int64_t mask = 0;
        for (const auto& element : v.Set) {
            auto index = prop.Enum->IndexOf(element);
            if (!index || *index >= 32)
                Invalid();
            mask |= int64_t{1} << *index;
        }
        return mask;
    }
    default:
        Invalid();
    }
}

std::string StringOf(const TStreamValue& v) {
    std::optional<std::string> text = StringValue(v);
    if (!text)
        Invalid();
    return *text;
}

long double FloatOf(const TPropInfo& prop, const TStreamValue& v) {
    if (v.IsInteger())
        return v.Int;
    auto own = [&](TFloatType t) { return prop.FloatType == t; };
    switch (v.Type) {
    case TValueType::vaExtended:
        return ExtendedToLongDouble(v.Bytes);
    case TValueType::vaSingle:
        if (own(TFloatType::Single) && v.Bytes.size() == 4) {
            float f;
            std::memcpy(&f, v.Bytes.data(), 4);
            return f;
        }
        break;
    case TValueType::vaCurrency:
        if (own(TFloatType::Currency) && v.Bytes.size() == 8) {
            int64_t units;
            std::memcpy(&units, v.Bytes.data(), 8);
            return static_cast<long double>(units) / 10000;
        }
        break;
    case TValueType::vaDate:
        if (own(TFloatType::Date) && v.Bytes.size() == 8) {
            double d;
            std::memcpy(&d, v.Bytes.data(), 8);
            return d;
        }
        break;
    default:
        break;
    }
    Invalid();
}

void AssignCollection(TCollection& collection, const TStreamValue& v) {
    if (v.Type != TValueType::vaCollection)
        Invalid();
    collection.Clear();
    for (const auto& item : v.Items) {
        TCollectionItem* target = collection.Add();
        for (const auto& p : item.Properties) {
            const TPropInfo* info = target->ClassInfo().FindProperty(p.Path);
            if (!info)
                throw EReadError("Property does not exist");
            AssignPropertyValue(*target, *info, p.Value);
        }
    }
}

// One reading of one stream.
class TComponentReader {
  public:
    explicit TComponentReader(TComponent* root) : root_(root) {}

    TComponent* Read(const TObjectRecord& record) {
        TComponent* given = root_;
        std::vector<TComponent*>& before = before_;
        if (given)
            for (int i = 0; i < given->ComponentCount(); ++i)
                before.push_back(given->Components(i));
        try {
            ReadRoot(record);
            ResolveFixups();
            root_->EndReading();
            for (TComponent* c : loaded_)
                c->Loaded();
            return root_;
        } catch (...) {
            fixups_.clear();
            if (!given) {
                TComponent::Free(root_);
            } else {
                // Freeing one may free others (a container its files): look again each time.
                auto isNew = [&](TComponent* c) { return std::find(before.begin(), before.end(), c) == before.end(); };
                for (;;) {
                    TComponent* last = nullptr;
                    for (int i = 0; i < given->ComponentCount(); ++i)
                        if (isNew(given->Components(i)))
                            last = given->Components(i);
                    if (!last)
                        break;
                    TComponent::Free(last);
                }
                given->AbortLoading();
                for (TComponent* c : before)
                    c->AbortLoading();
            }
            Report();
        }
    }

  private:
    struct Fixup {
        TPersistent* target;
        const TPropInfo* prop;
        std::string name;
        std::string objectName;
        std::string path;
    };

    // Re-raises the exception in flight, stream errors in their report form.
    [[noreturn]] void Report() {
        try {
            throw;
        } catch (const EStreamError& e) {
            throw EReadError(ReadErrorText(e.ObjectName, e.PropPath, e.Message()));
        } catch (const EFilerError& e) {
            throw EReadError(ReadErrorText(objectName_, path_, e.Message()));
        } catch (const EComponentError& e) {
            throw EReadError(ReadErrorText(objectName_, path_, e.Message()));
        }
    }

    void ReadRoot(const TObjectRecord& record) {
        objectName_ = record.Name;
        if (root_) {
            if (!SameText(record.ClassName, root_->ClassName()))
                throw EReadError("Invalid stream format");
        } else {
            root_ = Create(record.ClassName, nullptr);
        }
        root_->BeginReading();
        if (!(record.Flags & ffInherited))
            root_->SetName(record.Name);
        loaded_.push_back(root_);
        ReadProperties(*root_, record);
        for (const auto& child : record.Children)
            ReadChild(child, root_);
    }

    TComponent* Create(const std::string& className, TComponent* owner) {
        const TRegisteredClass* cls = FindClass(className);
        if (!cls)
            throw EClassNotFound(Format("Class %s not found", {className}));
        return cls->Create(owner);
    }

    void ReadChild(const TObjectRecord& record, TComponent* parent) {
        objectName_ = record.Name;
        path_.clear();
        TComponent* c;
        if (record.Flags & ffInherited) {
            c = root_->FindComponent(record.Name);
            if (!c)
                throw EReadError(Format("Ancestor for '%s' not found", {record.Name}));
        } else if (TComponent* made = MadeDuringRead(record)) {
            c = made;
        } else {
            c = Create(record.ClassName, root_);
            c->SetName(record.Name);
        }
        c->BeginReading();
        loaded_.push_back(c);
        c->SetParentComponent(parent);
        ReadProperties(*c, record);
        c->EndReading();
        for (const auto& child : record.Children)
            ReadChild(child, c);
    }

    // A component of the record's name and class that another component's
    // constructor made during this read (the first install container makes
    // the standard path specifiers) and no record has read yet: the record
    // applies to it, so streams that list it after its maker read back.
    TComponent* MadeDuringRead(const TObjectRecord& record) const {
        TComponent* c = root_->FindComponent(record.Name);
        auto among = [c](const std::vector<TComponent*>& list) {
            return std::find(list.begin(), list.end(), c) != list.end();
        };
        if (!c || among(before_) || among(loaded_) || !SameText(c->ClassName(), record.ClassName))
            return nullptr;
        return c;
    }

    void ReadProperties(TComponent& c, const TObjectRecord& record) {
        for (const auto& p : record.Properties) {
            objectName_ = record.Name;
            path_ = p.Path;
            ReadProperty(c, p);
        }
        path_.clear();
    }

    void ReadProperty(TPersistent& instance, const TStreamProperty& p) {
        TPersistent* target = &instance;
        std::string_view path = p.Path;
        const TPropInfo* prop = nullptr;
        for (;;) {
            size_t dot = path.find('.');
            std::string_view step = path.substr(0, dot);
            prop = target->ClassInfo().FindProperty(step);
            if (!prop)
                throw EReadError("Property does not exist");
            if (dot == std::string_view::npos)
                break;
            if (prop->Kind != TPropKind::Object)
                throw EReadError("Invalid property path");
            target = prop->GetObject(*target);
            if (!target)
                throw EReadError("Invalid property path");
            path.remove_prefix(dot + 1);
        }
        const TStreamValue& v = p.Value;
        if (prop->Kind == TPropKind::Reference || prop->Kind == TPropKind::Event) {
            if (v.Type == TValueType::vaNil && prop->Kind == TPropKind::Reference) {
                prop->SetReference(*target, nullptr);
            } else if (v.Type == TValueType::vaIdent) {
                fixups_.push_back({target, prop, v.Bytes, objectName_, path_});
            } else {
                Invalid();
            }
            return;
        }
        AssignPropertyValue(*target, *prop, v);
    }

    void ResolveFixups() {
        for (const auto& f : fixups_) {
            objectName_ = f.objectName;
            path_ = f.path;
            if (f.prop->Kind == TPropKind::Reference) {
                // A name found nowhere leaves the property empty, also on a
                // component that had a reference before this stream.
                f.prop->SetReference(*f.target, root_->FindComponent(f.name));
            } else {
                std::any handler = root_->FindMethod(f.name);
                if (!handler.has_value())
                    Invalid();
                f.prop->SetEvent(*f.target, f.name, handler);
            }
        }
        fixups_.clear();
        objectName_.clear();
        path_.clear();
    }

    TComponent* root_;
    std::vector<TComponent*> before_; // the given root's components before the read
    std::vector<TComponent*> loaded_;
    std::vector<Fixup> fixups_;
    std::string objectName_;
    std::string path_;
};

} // namespace

std::optional<std::string> StringValue(const TStreamValue& v) {
    switch (v.Type) {
    case TValueType::vaString:
    case TValueType::vaLString:
        return v.Bytes;
    case TValueType::vaWString:
        return WideToAnsi(v.Wide);
    default:
        return std::nullopt;
    }
}

void AssignPropertyValue(TPersistent& target, const TPropInfo& prop, const TStreamValue& v) {
    switch (prop.Kind) {
    case TPropKind::Integer:
    case TPropKind::Boolean:
    case TPropKind::Enumeration:
    case TPropKind::Set:
        prop.SetOrdinal(target, OrdinalOf(prop, v));
        return;
    case TPropKind::String:
        prop.SetString(target, StringOf(v));
        return;
    case TPropKind::Binary:
        if (v.Type != TValueType::vaBinary)
            Invalid();
        prop.SetString(target, v.Bytes);
        return;
    case TPropKind::Float:
        prop.SetFloat(target, FloatOf(prop, v));
        return;
    case TPropKind::StringList: {
        if (v.Type != TValueType::vaList)
            Invalid();
        std::vector<std::string> lines;
        for (const auto& item : v.List) {
            if (item.Type != TValueType::vaString && item.Type != TValueType::vaLString)
                Invalid();
            lines.push_back(item.Bytes);
        }
        prop.SetLines(target, lines);
        return;
    }
    case TPropKind::Collection:
        AssignCollection(*prop.GetCollection(target), v);
        return;
    case TPropKind::Object:
    case TPropKind::Reference:
    case TPropKind::Event:
        break;
    }
    Invalid();
}

TComponent* ReadComponentRecords(const TObjectRecord& record, TComponent* root) {
    return TComponentReader(root).Read(record);
}

TComponent* ReadComponentStream(std::string_view bytes, TComponent* root) {
    TObjectRecord record;
    try {
        record = ReadStreamRecords(bytes);
    } catch (const EStreamError& e) {
        std::string object = e.ObjectName.empty() && root ? root->Name() : e.ObjectName;
        throw EReadError(ReadErrorText(object, e.PropPath, e.Message()));
    }
    return ReadComponentRecords(record, root);
}

} // namespace sw
