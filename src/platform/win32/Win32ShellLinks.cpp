#include "platform/win32/Win32ShellLinks.h"

#include "platform/win32/Win32Api.h"

#include <objbase.h>
#include <shlobj.h>

namespace sw::win32 {

namespace {

// The shell's link object, its ANSI link interface and the persist-file interface.
constexpr GUID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kShellLinkA = {0x000214EE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID kPersistFile = {0x0000010B, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// An interface pointer released when destroyed.
template <class I> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_)
            p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    I* operator->() const { return p_; }
    void** Out() { return reinterpret_cast<void**>(&p_); }

  private:
    I* p_ = nullptr;
};

// The name as UTF-16 from the ANSI code page, in the shell's buffer.
bool WideName(const std::string& file, WCHAR (&wide)[MAX_PATH]) {
    return MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH) != 0;
}

} // namespace

int32_t Win32ShellLinks::InitializeCom() {
    const HRESULT result = CoInitialize(nullptr);
    // S_FALSE: this thread has it already.
    return result == S_FALSE ? S_OK : result;
}

ShellLinkResult Win32ShellLinks::Save(const std::string& file, const ShellLink& link) {
    ComPtr<IShellLinkA> shellLink;
    HRESULT result = CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA, shellLink.Out());
    if (FAILED(result))
        return {result};
    ComPtr<IPersistFile> persist;
    if (FAILED(result = shellLink->SetPath(link.Target.c_str())) ||
        FAILED(result = shellLink->SetHotkey(link.HotKey)) ||
        FAILED(result = shellLink->SetArguments(link.Arguments.c_str())) ||
        FAILED(result = shellLink->SetWorkingDirectory(link.WorkingDirectory.c_str())) ||
        FAILED(result = shellLink->QueryInterface(kPersistFile, persist.Out())))
        return {result};
    WCHAR wide[MAX_PATH];
    if (!WideName(file, wide))
        return {E_INVALIDARG};
    return {persist->Save(wide, TRUE)};
}

std::optional<ShellLink> Win32ShellLinks::Load(const std::string& file) {
    ComPtr<IShellLinkA> shellLink;
    ComPtr<IPersistFile> persist;
    WCHAR wide[MAX_PATH];
    if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkA, shellLink.Out())) ||
        FAILED(shellLink->QueryInterface(kPersistFile, persist.Out())) || !WideName(file, wide) ||
        FAILED(persist->Load(wide, STGM_READ)))
        return std::nullopt;
    char text[MAX_PATH * 2] = {};
    ShellLink link;
    if (SUCCEEDED(shellLink->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH)))
        link.Target = text;
    text[0] = '\0';
    if (SUCCEEDED(shellLink->GetArguments(text, sizeof text)))
        link.Arguments = text;
    text[0] = '\0';
    if (SUCCEEDED(shellLink->GetWorkingDirectory(text, sizeof text)))
        link.WorkingDirectory = text;
    WORD hotKey = 0;
    if (SUCCEEDED(shellLink->GetHotkey(&hotKey)))
        link.HotKey = hotKey;
    text[0] = '\0';
    int iconIndex = 0;
    if (SUCCEEDED(shellLink->GetIconLocation(text, sizeof text, &iconIndex))) {
        link.IconPath = text;
        link.IconIndex = iconIndex;
    }
    return link;
}

std::string Win32ShellLinks::ErrorMessage(int32_t code) {
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == ' '))
        --length;
    return std::string(text, length);
}

} // namespace sw::win32
