#include "platform/win32/Win32Resources.h"

#include "platform/win32/Win32Api.h"

namespace sw::win32 {

std::optional<std::vector<uint8_t>> Win32Resources::Find(ResourceType type, const std::string& name) {
    HMODULE module = static_cast<HMODULE>(module_);
    HRSRC info = FindResourceA(module, name.c_str(), type == ResourceType::Bitmap ? RT_BITMAP : RT_RCDATA);
    if (!info)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(module, info);
    const uint8_t* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return std::nullopt;
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, info));
}

} // namespace sw::win32
