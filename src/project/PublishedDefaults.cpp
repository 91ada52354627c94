#include "project/PublishedDefaults.h"

#include "project/ProgramState.h"
#include "project/PropInfo.h"

#include <exception>

namespace sw {

namespace {

void Compare(const TPersistent& o, const std::string& className, const std::string& prefix,
             std::vector<TDefaultMismatch>& out) {
    for (const TPropInfo& p : o.ClassInfo().Properties) {
        const std::string path = prefix + p.Name;
        if (p.Kind == TPropKind::Object) {
            if (const TPersistent* nested = p.GetObject(o))
                Compare(*nested, className, path + ".", out);
            continue;
        }
        if (p.Stored && !p.Stored(o))
            continue;
        switch (p.Kind) {
        case TPropKind::Integer:
        case TPropKind::Boolean:
        case TPropKind::Enumeration:
        case TPropKind::Set:
            if (p.Default && p.GetOrdinal(o) != *p.Default)
                out.push_back({className, path, std::to_string(*p.Default), std::to_string(p.GetOrdinal(o))});
            break;
        case TPropKind::String:
            if (p.StringDefault && p.GetString(o) != *p.StringDefault)
                out.push_back({className, path, "'" + *p.StringDefault + "'", "'" + p.GetString(o) + "'"});
            break;
        default:
            break;
        }
    }
}

} // namespace

std::vector<TDefaultMismatch> FindDefaultMismatches(const TPersistent& fresh) {
    std::vector<TDefaultMismatch> out;
    Compare(fresh, fresh.ClassName(), "", out);
    return out;
}

std::vector<TDefaultMismatch>
FindRegisteredDefaultMismatches(const std::function<TComponent*(const TRegisteredClass&)>& make) {
    std::vector<TDefaultMismatch> out;
    // A copy: creating an instance may register classes.
    const std::vector<TRegisteredClass> classes = ProgramPart<TClassRegistry>().Classes;
    for (const TRegisteredClass& c : classes) {
        try {
            const TComponent* fresh = make(c);
            if (!fresh) {
                out.push_back({c.Info->Name, "", "", "not created"});
                continue;
            }
            std::vector<TDefaultMismatch> found = FindDefaultMismatches(*fresh);
            out.insert(out.end(), found.begin(), found.end());
        } catch (const std::exception& e) {
            out.push_back({c.Info->Name, "", "", std::string("not created: ") + e.what()});
        }
    }
    return out;
}

} // namespace sw
