// The system registry: keys below six roots, with string, integer and binary
// values. Key paths may start with a backslash ("\Software\Pellmoor" and
// "Software\Pellmoor" name the same key); an empty path is the root itself.
// Key and value names compare without regard to case; the empty value name is
// the key's default value.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sw {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

class IRegistry {
  public:
    virtual ~IRegistry() = default;

    virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
    // Creates the key and any missing parents; raises ERegistryError on failure.
    virtual void CreateKey(RegistryRoot root, const std::string& key) = 0;
    // Deletes a key that has no subkeys; false when it is missing, has
    // subkeys or cannot be deleted.
    virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;
    virtual bool HasSubKeys(RegistryRoot root, const std::string& key) = 0;
    // Names as stored; empty when the key does not exist.
    virtual std::vector<std::string> SubKeyNames(RegistryRoot root, const std::string& key) = 0;
    virtual std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) = 0;
    virtual bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) = 0;

    // Each find gives none when the key or value is missing or the value is
    // of another kind, so a caller tells "missing" from any stored value.
    virtual std::optional<std::string> FindString(RegistryRoot root, const std::string& key,
                                                  const std::string& name) = 0;
    virtual std::optional<int32_t> FindInteger(RegistryRoot root, const std::string& key, const std::string& name) = 0;
    virtual std::optional<std::vector<uint8_t>> FindBinary(RegistryRoot root, const std::string& key,
                                                           const std::string& name) = 0;

    // Each read returns the default where the find gives none.
    std::string ReadString(RegistryRoot root, const std::string& key, const std::string& name,
                           const std::string& defaultValue) {
        return FindString(root, key, name).value_or(defaultValue);
    }
    int32_t ReadInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t defaultValue) {
        return FindInteger(root, key, name).value_or(defaultValue);
    }
    std::vector<uint8_t> ReadBinary(RegistryRoot root, const std::string& key, const std::string& name,
                                    const std::vector<uint8_t>& defaultValue) {
        return FindBinary(root, key, name).value_or(defaultValue);
    }

    // Each write creates the key when needed and raises ERegistryError on
    // failure. Integers are stored as DWORD values.
    virtual void WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::string& value) = 0;
    virtual void WriteInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t value) = 0;
    virtual void WriteBinary(RegistryRoot root, const std::string& key, const std::string& name,
                             const std::vector<uint8_t>& value) = 0;
    // False when the value is missing or cannot be deleted.
    virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
};

} // namespace sw
