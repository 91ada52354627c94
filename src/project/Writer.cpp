#include "project/Writer.h"

#include "project/Collection.h"

#include <cmath>

namespace sw {

namespace {

void SetElements(const TPropInfo& prop, int64_t mask, std::vector<std::string>& out) {
    for (size_t i = 0; i < prop.Enum->Names.size() && i < 32; ++i)
        if (mask & (int64_t{1} << i))
            out.push_back(prop.Enum->Names[i]);
}

std::string FloatPayload(TFloatType type, long double v) {
    std::string raw;
    if (type == TFloatType::Single) {
        float f = static_cast<float>(v);
        raw.assign(reinterpret_cast<const char*>(&f), 4);
    } else if (type == TFloatType::Currency) {
        int64_t units = std::llround(static_cast<double>(v * 10000));
        raw.assign(reinterpret_cast<const char*>(&units), 8);
    } else if (type == TFloatType::Date) {
        double d = static_cast<double>(v);
        raw.assign(reinterpret_cast<const char*>(&d), 8);
    } else {
        raw = LongDoubleToExtended(v);
    }
    return raw;
}

TValueType FloatTag(TFloatType type) {
    switch (type) {
    case TFloatType::Single:
        return TValueType::vaSingle;
    case TFloatType::Currency:
        return TValueType::vaCurrency;
    case TFloatType::Date:
        return TValueType::vaDate;
    case TFloatType::Extended:
        break;
    }
    return TValueType::vaExtended;
}

void WriteProperty(const TPersistent& o, const TPropInfo& p, const std::string& path,
                   std::vector<TStreamProperty>& out) {
    if (p.Stored && !p.Stored(o))
        return;
    auto emit = [&](TStreamValue v) { out.push_back({path, std::move(v)}); };
    switch (p.Kind) {
    case TPropKind::Integer: {
        int64_t v = p.GetOrdinal(o);
        if (p.Default && v == *p.Default)
            return;
        const std::string* name = p.Idents ? p.Idents->NameOf(static_cast<int32_t>(v)) : nullptr;
        emit(name ? TStreamValue::Ident(*name) : TStreamValue::Integer(static_cast<int32_t>(v)));
        return;
    }
    case TPropKind::Boolean: {
        int64_t v = p.GetOrdinal(o);
        if (!p.Default || v != *p.Default)
            emit(TStreamValue::Boolean(v != 0));
        return;
    }
    case TPropKind::Enumeration: {
        int64_t v = p.GetOrdinal(o);
        if ((!p.Default || v != *p.Default) && v >= 0 && static_cast<size_t>(v) < p.Enum->Names.size())
            emit(TStreamValue::Ident(p.Enum->Names[static_cast<size_t>(v)]));
        return;
    }
    case TPropKind::Set: {
        int64_t v = p.GetOrdinal(o);
        if (p.Default && v == *p.Default)
            return;
        TStreamValue s;
        s.Type = TValueType::vaSet;
        SetElements(p, v, s.Set);
        emit(std::move(s));
        return;
    }
    case TPropKind::String: {
        std::string v = p.GetString(o);
        if (!p.StringDefault || v != *p.StringDefault)
            emit(TStreamValue::String(std::move(v)));
        return;
    }
    case TPropKind::Binary: {
        TStreamValue v;
        v.Type = TValueType::vaBinary;
        v.Bytes = p.GetString(o);
        if (!v.Bytes.empty())
            emit(std::move(v));
        return;
    }
    case TPropKind::Float: {
        long double f = p.GetFloat(o);
        if (f == 0)
            return;
        TStreamValue v;
        v.Type = FloatTag(p.FloatType);
        v.Bytes = FloatPayload(p.FloatType, f);
        emit(std::move(v));
        return;
    }
    case TPropKind::Object:
        if (const TPersistent* nested = p.GetObject(o))
            WriteProperties(*nested, path + ".", out);
        return;
    case TPropKind::Reference:
        if (const TComponent* c = p.GetReference(o))
            emit(TStreamValue::Ident(c->Name()));
        return;
    case TPropKind::Event: {
        std::string name = p.GetEventName(o);
        if (!name.empty())
            emit(TStreamValue::Ident(name));
        return;
    }
    case TPropKind::StringList: {
        auto lines = p.GetLines(o);
        if (lines.empty())
            return;
        TStreamValue list;
        list.Type = TValueType::vaList;
        for (auto& line : lines)
            list.List.push_back(TStreamValue::String(std::move(line)));
        emit(std::move(list));
        return;
    }
    case TPropKind::Collection: {
        const TCollection* c = p.GetCollection(o);
        if (!c || c->Count() == 0)
            return;
        TStreamValue v;
        v.Type = TValueType::vaCollection;
        for (int i = 0; i < c->Count(); ++i) {
            TStreamCollectionItem item;
            WriteProperties(*c->Items(i), "", item.Properties);
            v.Items.push_back(std::move(item));
        }
        emit(std::move(v));
        return;
    }
    }
}

TObjectRecord RecordOf(const TComponent& c, const TComponent& root) {
    TObjectRecord rec;
    rec.ClassName = c.ClassName();
    rec.Name = c.Name();
    WriteProperties(c, "", rec.Properties);
    for (int i = 0; i < root.ComponentCount(); ++i) {
        const TComponent* child = root.Components(i);
        const TComponent* parent = child->GetParentComponent();
        bool mine = &c == &root ? (parent == nullptr || parent == &root) : parent == &c;
        if (mine)
            rec.Children.push_back(RecordOf(*child, root));
    }
    return rec;
}

} // namespace

void WriteProperties(const TPersistent& instance, const std::string& prefix, std::vector<TStreamProperty>& out) {
    for (const auto& p : instance.ClassInfo().Properties)
        WriteProperty(instance, p, prefix + p.Name, out);
}

TObjectRecord ComponentToRecords(const TComponent& root) { return RecordOf(root, root); }

std::string WriteComponentStream(const TComponent& root) { return WriteStreamRecords(ComponentToRecords(root)); }

} // namespace sw
