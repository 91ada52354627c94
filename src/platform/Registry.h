// The system registry: keys below six roots, with string, integer and binary
// values. Key paths may start with a backslash ("\Software\Pellmoor" and
// "Software\Pellmoor" name the same key); an empty path is the root itself.
// Key and value names compare without regard to case; the empty value name is
// the key's default value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sw {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig, DynData };

// One key held open for several reads and writes, as a counted list's append
// reads its count and writes an entry and the new count.
class IRegistryKey {
  public:
    virtual ~IRegistryKey() = default;
    virtual std::optional<std::string> FindString(const std::string& name) = 0;
    // Raises ERegistryError on failure.
    virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

class IRegistry {
  public:
    virtual ~IRegistry() = default;

    virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
    // Creates the key and any missing parents; raises ERegistryError on failure.
    virtual void CreateKey(RegistryRoot root, const std::string& key) = 0;
    // The key, created when needed, held open; raises ERegistryError when it
    // cannot be created. A registry that holds no handles serves the key's
    // calls with its own.
    virtual std::unique_ptr<IRegistryKey> CreateOpenKey(RegistryRoot root, const std::string& key);
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

// A key that a registry without handles serves by its path.
class TRegistryKeyByPath : public IRegistryKey {
  public:
    TRegistryKeyByPath(IRegistry& registry, RegistryRoot root, std::string key)
        : registry_(registry), root_(root), key_(std::move(key)) {}
    std::optional<std::string> FindString(const std::string& name) override {
        return registry_.FindString(root_, key_, name);
    }
    void WriteString(const std::string& name, const std::string& value) override {
        registry_.WriteString(root_, key_, name, value);
    }

  private:
    IRegistry& registry_;
    RegistryRoot root_;
    std::string key_;
};

inline std::unique_ptr<IRegistryKey> IRegistry::CreateOpenKey(RegistryRoot root, const std::string& key) {
    CreateKey(root, key);
    return std::make_unique<TRegistryKeyByPath>(*this, root, key);
}

} // namespace sw
