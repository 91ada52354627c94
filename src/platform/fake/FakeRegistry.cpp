#include "platform/fake/FakeRegistry.h"

#include "platform/PlatformErrors.h"
#include "project/Text.h"

#include <algorithm>

namespace sw::fake {

namespace {
// The parts of a key path, without empty parts from leading, trailing or
// doubled backslashes.
std::vector<std::string> Parts(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}
} // namespace

// Subkeys are kept sorted, as Windows lists them; values in the order written.
struct FakeRegistry::Key {
    std::string name;
    std::map<std::string, std::unique_ptr<Key>, TLessText> subkeys;
    std::vector<std::pair<std::string, Value>> values;

    auto FindValue(const std::string& valueName) {
        return std::find_if(values.begin(), values.end(), [&](const auto& v) { return SameText(v.first, valueName); });
    }
};

FakeRegistry::FakeRegistry() {
    for (auto root : {RegistryRoot::ClassesRoot, RegistryRoot::CurrentUser, RegistryRoot::LocalMachine,
                      RegistryRoot::Users, RegistryRoot::CurrentConfig, RegistryRoot::DynData})
        roots_[root] = std::make_unique<Key>();
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Key* FakeRegistry::Find(RegistryRoot root, const std::string& path) {
    Key* key = roots_.at(root).get();
    for (const auto& part : Parts(path)) {
        auto it = key->subkeys.find(part);
        if (it == key->subkeys.end())
            return nullptr;
        key = it->second.get();
    }
    return key;
}

void FakeRegistry::CountWrite(const std::string& what) {
    if (failWrites_ > 0) {
        --failWrites_;
        throw ERegistryError("Cannot write " + what + " (error 5)", kAccessDenied);
    }
}

FakeRegistry::Key& FakeRegistry::Create(RegistryRoot root, const std::string& path) {
    if (Key* existing = Find(root, path))
        return *existing;
    CountWrite("key " + path);
    Key* key = roots_.at(root).get();
    for (const auto& part : Parts(path)) {
        auto& slot = key->subkeys[part];
        if (!slot) {
            slot = std::make_unique<Key>();
            slot->name = part;
        }
        key = slot.get();
    }
    return *key;
}

bool FakeRegistry::KeyExists(RegistryRoot root, const std::string& key) { return Find(root, key) != nullptr; }

void FakeRegistry::CreateKey(RegistryRoot root, const std::string& key) { Create(root, key); }

bool FakeRegistry::DeleteKey(RegistryRoot root, const std::string& key) {
    auto parts = Parts(key);
    if (parts.empty())
        return false;
    std::string last = parts.back();
    parts.pop_back();
    Key* parent = roots_.at(root).get();
    for (const auto& part : parts) {
        auto it = parent->subkeys.find(part);
        if (it == parent->subkeys.end())
            return false;
        parent = it->second.get();
    }
    auto it = parent->subkeys.find(last);
    if (it == parent->subkeys.end() || !it->second->subkeys.empty())
        return false;
    parent->subkeys.erase(it);
    return true;
}

bool FakeRegistry::HasSubKeys(RegistryRoot root, const std::string& key) {
    Key* k = Find(root, key);
    return k && !k->subkeys.empty();
}

std::vector<std::string> FakeRegistry::SubKeyNames(RegistryRoot root, const std::string& key) {
    std::vector<std::string> names;
    if (Key* k = Find(root, key))
        for (const auto& [name, sub] : k->subkeys)
            names.push_back(sub->name);
    return names;
}

std::vector<std::string> FakeRegistry::ValueNames(RegistryRoot root, const std::string& key) {
    std::vector<std::string> names;
    if (Key* k = Find(root, key))
        for (const auto& v : k->values)
            names.push_back(v.first);
    return names;
}

const FakeRegistry::Value* FakeRegistry::FindValue(RegistryRoot root, const std::string& key, const std::string& name) {
    Key* k = Find(root, key);
    if (!k)
        return nullptr;
    auto it = k->FindValue(name);
    return it == k->values.end() ? nullptr : &it->second;
}

bool FakeRegistry::ValueExists(RegistryRoot root, const std::string& key, const std::string& name) {
    return FindValue(root, key, name) != nullptr;
}

std::optional<std::string> FakeRegistry::FindString(RegistryRoot root, const std::string& key,
                                                    const std::string& name) {
    const Value* v = FindValue(root, key, name);
    if (!v || !std::holds_alternative<std::string>(*v))
        return std::nullopt;
    return std::get<std::string>(*v);
}

std::optional<int32_t> FakeRegistry::FindInteger(RegistryRoot root, const std::string& key, const std::string& name) {
    const Value* v = FindValue(root, key, name);
    if (!v || !std::holds_alternative<int32_t>(*v))
        return std::nullopt;
    return std::get<int32_t>(*v);
}

std::optional<std::vector<uint8_t>> FakeRegistry::FindBinary(RegistryRoot root, const std::string& key,
                                                             const std::string& name) {
    const Value* v = FindValue(root, key, name);
    if (!v || !std::holds_alternative<std::vector<uint8_t>>(*v))
        return std::nullopt;
    return std::get<std::vector<uint8_t>>(*v);
}

void FakeRegistry::Write(RegistryRoot root, const std::string& key, const std::string& name, Value value) {
    Key& k = Create(root, key);
    CountWrite("value " + name + " of " + key);
    auto it = k.FindValue(name);
    if (it != k.values.end())
        it->second = std::move(value);
    else
        k.values.emplace_back(name, std::move(value));
}

void FakeRegistry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::string& value) {
    Write(root, key, name, value);
}

void FakeRegistry::WriteInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t value) {
    Write(root, key, name, value);
}

void FakeRegistry::WriteBinary(RegistryRoot root, const std::string& key, const std::string& name,
                               const std::vector<uint8_t>& value) {
    Write(root, key, name, value);
}

bool FakeRegistry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
    Key* k = Find(root, key);
    if (!k)
        return false;
    auto it = k->FindValue(name);
    if (it == k->values.end())
        return false;
    k->values.erase(it);
    return true;
}

} // namespace sw::fake
