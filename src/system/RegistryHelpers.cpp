#include "system/RegistryHelpers.h"

#include "platform/Platform.h"
#include "platform/PlatformErrors.h"
#include "project/Text.h"
#include "system/InstallErrors.h"

#include <iterator>

namespace sw {

namespace {

IRegistry& Registry() { return *GetPlatform().Registry; }

constexpr RegistryRoot kRoots[] = {RegistryRoot::ClassesRoot, RegistryRoot::CurrentConfig, RegistryRoot::CurrentUser,
                                   RegistryRoot::DynData,     RegistryRoot::LocalMachine,  RegistryRoot::Users};

} // namespace

const TEnumInfo& RootKeyNames() {
    static const TEnumInfo names{
        {"hkClassesRoot", "hkCurrentConfig", "hkCurrentUser", "hkDynData", "hkLocalMachine", "hkUsers"}};
    return names;
}

RegistryRoot RegistryRootOf(TRootKeys root) { return kRoots[static_cast<int>(root)]; }

TRootKeys RootKeyOf(RegistryRoot root, TRootKeys otherwise) {
    for (int i = 0; i < static_cast<int>(std::size(kRoots)); ++i)
        if (kRoots[i] == root)
            return static_cast<TRootKeys>(i);
    return otherwise;
}

void CannotWriteRegString(const std::string& key, const std::string& name, const std::string& value) {
    throw EIRCannotWriteValue(Format("Cannot install into registry. Key: %s Ident: %s Value %s", {key, name, value}));
}

void WriteRegString(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value) {
    try {
        Registry().WriteString(root, key, name, value);
    } catch (const ERegistryError&) {
        CannotWriteRegString(key, name, value);
    }
}

void WriteRegString(IRegistryKey& key, const std::string& keyPath, const std::string& name, const std::string& value) {
    try {
        key.WriteString(name, value);
    } catch (const ERegistryError&) {
        CannotWriteRegString(keyPath, name, value);
    }
}

void WriteRegInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t value) {
    try {
        Registry().WriteInteger(root, key, name, value);
    } catch (const ERegistryError&) {
        throw EIRCannotWriteValue(key);
    }
}

std::string ReadRegString(RegistryRoot root, const std::string& key, const std::string& name,
                          const std::string& defaultValue) {
    return Registry().ReadString(root, key, name, defaultValue);
}

int32_t ReadRegInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t defaultValue) {
    return Registry().ReadInteger(root, key, name, defaultValue);
}

std::optional<std::string> ReadRegStringValue(RegistryRoot root, const std::string& key, const std::string& name) {
    // Two different defaults agree only when the value itself was read.
    std::string a = ReadRegString(root, key, name, "a");
    if (a != ReadRegString(root, key, name, "b"))
        return std::nullopt;
    return a;
}

std::optional<int32_t> ReadRegIntegerValue(RegistryRoot root, const std::string& key, const std::string& name) {
    const int32_t a = ReadRegInteger(root, key, name, 0);
    if (a != ReadRegInteger(root, key, name, 1))
        return std::nullopt;
    return a;
}

void DeleteRegKeyTree(RegistryRoot root, const std::string& key) {
    // An empty path is the root itself, which is never deleted.
    if (Trim(key).empty() || key.find_first_not_of('\\') == std::string::npos)
        return;
    for (const std::string& sub : Registry().SubKeyNames(root, key))
        DeleteRegKeyTree(root, key + "\\" + sub);
    Registry().DeleteKey(root, key);
}

bool AddRunOnce(const std::string& name, const std::string& command, bool unique) {
    IRegistry& reg = Registry();
    std::string valueName = name;
    try {
        for (int n = 1; unique && reg.ValueExists(RegistryRoot::LocalMachine, kRunOnceKey, valueName); ++n)
            valueName = name + std::to_string(n);
        reg.WriteString(RegistryRoot::LocalMachine, kRunOnceKey, valueName, command);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

void RemoveRunOnce(const std::string& command) {
    IRegistry& reg = Registry();
    try {
        for (const std::string& name : reg.ValueNames(RegistryRoot::LocalMachine, kRunOnceKey))
            if (SameText(reg.ReadString(RegistryRoot::LocalMachine, kRunOnceKey, name, ""), command))
                reg.DeleteValue(RegistryRoot::LocalMachine, kRunOnceKey, name);
    } catch (const Exception&) {
        // A command left registered runs at the next start of Windows.
    }
}

} // namespace sw
