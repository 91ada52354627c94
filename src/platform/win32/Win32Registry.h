// The registry through the Win32 ANSI API.
#pragma once

#include "platform/Registry.h"

namespace sw::win32 {

class Win32Registry : public IRegistry {
  public:
    bool KeyExists(RegistryRoot root, const std::string& key) override;
    void CreateKey(RegistryRoot root, const std::string& key) override;
    std::unique_ptr<IRegistryKey> CreateOpenKey(RegistryRoot root, const std::string& key) override;
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
};

} // namespace sw::win32
