// Registry helpers over the platform registry: reads that fall back to the
// caller's default, writes that raise the install's own error, the recursive
// delete and the RunOnce entries.
#pragma once

#include "platform/Registry.h"
#include "project/PropInfo.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sw {

// The six roots in the order a project stream numbers them.
enum class TRootKeys { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };
const TEnumInfo& RootKeyNames();

RegistryRoot RegistryRootOf(TRootKeys root);
// The enumerator of a platform root, or `otherwise` for a root it has none for.
TRootKeys RootKeyOf(RegistryRoot root, TRootKeys otherwise);

// Create the key when needed; a failure raises EIRCannotWriteValue
// ("Cannot install into registry. Key: %s Ident: %s Value %s" for strings,
// the key path for integers).
void WriteRegString(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value);
void WriteRegInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t value);
// The same write through a key held open; keyPath names it in the error.
void WriteRegString(IRegistryKey& key, const std::string& keyPath, const std::string& name, const std::string& value);
[[noreturn]] void CannotWriteRegString(const std::string& key, const std::string& name, const std::string& value);
// The value when the key and a value of that type exist, otherwise the default.
std::string ReadRegString(RegistryRoot root, const std::string& key, const std::string& name,
                          const std::string& defaultValue);
int32_t ReadRegInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t defaultValue);
// The value; none when it is missing or of another type.
std::optional<std::string> ReadRegStringValue(RegistryRoot root, const std::string& key, const std::string& name);
std::optional<int32_t> ReadRegIntegerValue(RegistryRoot root, const std::string& key, const std::string& name);

// Deletes the key after its subkeys, depth first; failures are ignored.
void DeleteRegKeyTree(RegistryRoot root, const std::string& key);

inline constexpr const char* kRunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// Writes `command` into RunOnce under HKEY_LOCAL_MACHINE. With `unique` the
// value name is `name`, or `name` followed by 1, 2, ... whichever is first
// unused. False on any failure.
bool AddRunOnce(const std::string& name, const std::string& command, bool unique);
// Deletes the RunOnce values under HKEY_LOCAL_MACHINE whose command is
// `command` (without regard to case); failures are ignored.
void RemoveRunOnce(const std::string& command);

} // namespace sw
