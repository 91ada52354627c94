#include "platform/win32/Win32Registry.h"

#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Handles.h"

#include <optional>

namespace sw::win32 {

namespace {
HKEY RootHandle(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
        return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
        return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
        return HKEY_USERS;
    case RegistryRoot::CurrentConfig:
        return HKEY_CURRENT_CONFIG;
    case RegistryRoot::DynData:
        return HKEY_DYN_DATA;
    }
    return HKEY_CURRENT_USER;
}

// The path without empty parts: no leading, trailing or doubled backslashes.
std::string Clean(const std::string& path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' && (out.empty() || out.back() == '\\'))
            continue;
        out += path[i];
    }
    if (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

RegKey Open(RegistryRoot root, const std::string& key, REGSAM access) {
    RegKey h;
    if (RegOpenKeyExA(RootHandle(root), Clean(key).c_str(), 0, access, h.Out()) != ERROR_SUCCESS)
        h.Reset();
    return h;
}

RegKey CreateOrFail(RegistryRoot root, const std::string& key) {
    RegKey h;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(RootHandle(root), Clean(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, h.Out(), &disposition);
    if (rc != ERROR_SUCCESS) {
        h.Reset();
        throw ERegistryError("Cannot create the registry key " + key + " (error " + std::to_string(rc) + ")",
                             static_cast<uint32_t>(rc));
    }
    return h;
}

using RawValue = std::pair<DWORD, std::vector<uint8_t>>;

// The raw data and type of a value of an open key, or nothing when it cannot be read.
std::optional<RawValue> Query(HKEY h, const std::string& name) {
    // Most values fit the first buffer, so most reads ask the registry once.
    std::vector<uint8_t> data(256);
    DWORD type = 0, size = static_cast<DWORD>(data.size());
    LONG rc = RegQueryValueExA(h, name.c_str(), nullptr, &type, data.data(), &size);
    if (rc == ERROR_MORE_DATA) {
        data.resize(size);
        rc = RegQueryValueExA(h, name.c_str(), nullptr, &type, data.data(), &size);
    }
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(size);
    return std::make_pair(type, std::move(data));
}

std::optional<RawValue> Query(RegistryRoot root, const std::string& key, const std::string& name) {
    RegKey h = Open(root, key, KEY_QUERY_VALUE);
    if (!h)
        return std::nullopt;
    return Query(h.Get(), name);
}

std::optional<std::string> StringOf(const std::optional<RawValue>& value) {
    if (!value || (value->first != REG_SZ && value->first != REG_EXPAND_SZ))
        return std::nullopt;
    std::string text(value->second.begin(), value->second.end());
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

// Writes a value of an open key; key names it in the error.
void Set(HKEY h, const std::string& key, const std::string& name, DWORD type, const void* data, size_t size) {
    LONG rc = RegSetValueExA(h, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    if (rc != ERROR_SUCCESS)
        throw ERegistryError("Cannot write the registry value " + name + " of " + key + " (error " +
                                 std::to_string(rc) + ")",
                             static_cast<uint32_t>(rc));
}

void Set(RegistryRoot root, const std::string& key, const std::string& name, DWORD type, const void* data,
         size_t size) {
    Set(CreateOrFail(root, key).Get(), key, name, type, data, size);
}

class Win32RegistryKey : public IRegistryKey {
  public:
    Win32RegistryKey(RegKey h, std::string key) : h_(std::move(h)), key_(std::move(key)) {}

    std::optional<std::string> FindString(const std::string& name) override { return StringOf(Query(h_.Get(), name)); }

    void WriteString(const std::string& name, const std::string& value) override {
        Set(h_.Get(), key_, name, REG_SZ, value.c_str(), value.size() + 1);
    }

  private:
    RegKey h_;
    std::string key_;
};
} // namespace

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& key) {
    return static_cast<bool>(Open(root, key, KEY_READ));
}

void Win32Registry::CreateKey(RegistryRoot root, const std::string& key) { CreateOrFail(root, key); }

std::unique_ptr<IRegistryKey> Win32Registry::CreateOpenKey(RegistryRoot root, const std::string& key) {
    return std::make_unique<Win32RegistryKey>(CreateOrFail(root, key), key);
}

bool Win32Registry::DeleteKey(RegistryRoot root, const std::string& key) {
    std::string path = Clean(key);
    if (path.empty() || HasSubKeys(root, path) || !KeyExists(root, path))
        return false;
    return RegDeleteKeyA(RootHandle(root), path.c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::HasSubKeys(RegistryRoot root, const std::string& key) {
    RegKey h = Open(root, key, KEY_READ);
    DWORD count = 0;
    return h &&
           RegQueryInfoKeyA(h.Get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS &&
           count > 0;
}

std::vector<std::string> Win32Registry::SubKeyNames(RegistryRoot root, const std::string& key) {
    std::vector<std::string> names;
    RegKey h = Open(root, key, KEY_READ);
    if (!h)
        return names;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumKeyExA(h.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    return names;
}

std::vector<std::string> Win32Registry::ValueNames(RegistryRoot root, const std::string& key) {
    std::vector<std::string> names;
    RegKey h = Open(root, key, KEY_READ);
    DWORD longest = 0;
    if (!h || RegQueryInfoKeyA(h.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest,
                               nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<char> name(longest + 1);
    for (DWORD i = 0;; ++i) {
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumValueA(h.Get(), i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name.data(), size);
    }
    return names;
}

bool Win32Registry::ValueExists(RegistryRoot root, const std::string& key, const std::string& name) {
    RegKey h = Open(root, key, KEY_QUERY_VALUE);
    return h && RegQueryValueExA(h.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::optional<std::string> Win32Registry::FindString(RegistryRoot root, const std::string& key,
                                                     const std::string& name) {
    return StringOf(Query(root, key, name));
}

std::optional<int32_t> Win32Registry::FindInteger(RegistryRoot root, const std::string& key, const std::string& name) {
    auto value = Query(root, key, name);
    if (!value || value->first != REG_DWORD || value->second.size() != 4)
        return std::nullopt;
    const auto& d = value->second;
    return static_cast<int32_t>(d[0] | (d[1] << 8) | (d[2] << 16) | (uint32_t(d[3]) << 24));
}

std::optional<std::vector<uint8_t>> Win32Registry::FindBinary(RegistryRoot root, const std::string& key,
                                                              const std::string& name) {
    auto value = Query(root, key, name);
    if (!value || value->first != REG_BINARY)
        return std::nullopt;
    return value->second;
}

void Win32Registry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                                const std::string& value) {
    Set(root, key, name, REG_SZ, value.c_str(), value.size() + 1);
}

void Win32Registry::WriteInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t value) {
    DWORD dword = static_cast<DWORD>(value);
    Set(root, key, name, REG_DWORD, &dword, sizeof dword);
}

void Win32Registry::WriteBinary(RegistryRoot root, const std::string& key, const std::string& name,
                                const std::vector<uint8_t>& value) {
    Set(root, key, name, REG_BINARY, value.data(), value.size());
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) {
    RegKey h = Open(root, key, KEY_SET_VALUE);
    return h && RegDeleteValueA(h.Get(), name.c_str()) == ERROR_SUCCESS;
}

} // namespace sw::win32
