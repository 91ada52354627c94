// An in-memory registry: a case-insensitive tree of keys under the six roots.
#pragma once

#include "platform/Registry.h"

#include <map>
#include <memory>
#include <variant>

namespace sw::fake {

class FakeRegistry : public IRegistry {
  public:
    FakeRegistry();
    ~FakeRegistry() override;

    // The next count key creations and value writes raise ERegistryError
    // with the code Windows gives a write it refuses (access denied).
    void FailNextWrites(int count) { failWrites_ = count; }
    static constexpr uint32_t kAccessDenied = 5;

    bool KeyExists(RegistryRoot root, const std::string& key) override;
    void CreateKey(RegistryRoot root, const std::string& key) override;
    bool DeleteKey(RegistryRoot root, const std::string& key) override;
    bool HasSubKeys(RegistryRoot root, const std::string& key) override;
    std::vector<std::string> SubKeyNames(RegistryRoot root, const std::string& key) override;
    std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) override;
    bool ValueExists(RegistryRoot root, const std::string& key, const std::string& name) override;
    std::optional<std::string> FindString(RegistryRoot root, const std::string& key, const std::string& name) override;
    std::optional<int32_t> FindInteger(RegistryRoot root, const std::string& key, const std::string& name) override;
    std::optional<std::vector<uint8_t>> FindBinary(RegistryRoot root, const std::string& key,
                                                   const std::string& name) override;
    void WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::string& value) override;
    void WriteInteger(RegistryRoot root, const std::string& key, const std::string& name, int32_t value) override;
    void WriteBinary(RegistryRoot root, const std::string& key, const std::string& name,
                     const std::vector<uint8_t>& value) override;
    bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;

  private:
    using Value = std::variant<std::string, int32_t, std::vector<uint8_t>>;
    struct Key;

    Key* Find(RegistryRoot root, const std::string& path);
    Key& Create(RegistryRoot root, const std::string& path);
    const Value* FindValue(RegistryRoot root, const std::string& key, const std::string& name);
    void Write(RegistryRoot root, const std::string& key, const std::string& name, Value value);
    void CountWrite(const std::string& what);

    std::map<RegistryRoot, std::unique_ptr<Key>> roots_;
    int failWrites_ = 0;
};

} // namespace sw::fake
