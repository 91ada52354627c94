#include "platform/win32/Win32Internet.h"

#include "platform/PlatformErrors.h"
#include "platform/win32/Win32Api.h"
#include "platform/win32/Win32LaterApi.h"

namespace sw::win32 {

namespace {

// The WinInet constants the operations pass (wininet.h is not included: its
// macros would rename this class's methods).
constexpr DWORD kOpenTypePreconfig = 0;
constexpr DWORD kTransferTypeBinary = 2;
constexpr DWORD kFlagReload = 0x80000000;
constexpr DWORD kFlagExistingConnect = 0x20000000;
constexpr DWORD kFlagNoCacheWrite = 0x04000000;
constexpr DWORD kResponseBufferSize = 3000;
constexpr DWORD kQueryBufferSize = 33;
constexpr DWORD kOptionConnectTimeout = 2;
constexpr DWORD kOptionSendTimeout = 5;
constexpr DWORD kOptionReceiveTimeout = 6;

using HINTERNET = void*;

HINTERNET H(InternetHandle h) { return reinterpret_cast<HINTERNET>(h); }
InternetHandle I(HINTERNET h) { return reinterpret_cast<InternetHandle>(h); }
const char* OrNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

} // namespace

// In the order of kInternetProcedures.
struct Win32Internet::Procedures {
    BOOL(WINAPI* GetLastResponseInfo)(DWORD*, char*, DWORD*);
    HINTERNET(WINAPI* Open)(const char*, DWORD, const char*, const char*, DWORD);
    HINTERNET(WINAPI* Connect)(HINTERNET, const char*, WORD, const char*, const char*, DWORD, DWORD, DWORD_PTR);
    BOOL(WINAPI* FtpSetCurrentDirectory)(HINTERNET, const char*);
    BOOL(WINAPI* CloseHandle)(HINTERNET);
    BOOL(WINAPI* QueryDataAvailable)(HINTERNET, DWORD*, DWORD, DWORD_PTR);
    BOOL(WINAPI* ReadFile)(HINTERNET, void*, DWORD, DWORD*);
    HINTERNET(WINAPI* FtpOpenFile)(HINTERNET, const char*, DWORD, DWORD, DWORD_PTR);
    HINTERNET(WINAPI* HttpOpenRequest)
    (HINTERNET, const char*, const char*, const char*, const char*, const char**, DWORD, DWORD_PTR);
    BOOL(WINAPI* HttpSendRequest)(HINTERNET, const char*, DWORD, void*, DWORD);
    BOOL(WINAPI* HttpQueryInfo)(HINTERNET, DWORD, void*, DWORD*, DWORD*);
    // Optional: none when the library lacks it.
    BOOL(WINAPI* SetOption)(HINTERNET, DWORD, void*, DWORD);
};

namespace {

// Resolves one procedure into its slot; false when it is missing.
template <class Fn> bool Resolve(HMODULE module, const char* name, Fn& slot) {
    slot = LibraryExport<Fn>(module, name);
    return slot != nullptr;
}

} // namespace

Win32Internet::Win32Internet() : procs_(std::make_unique<Procedures>()) {}

Win32Internet::~Win32Internet() {
    if (module_)
        FreeLibrary(static_cast<HMODULE>(module_));
}

const Win32Internet::Procedures& Win32Internet::Procs() const {
    if (!module_)
        throw EPlatformError("WININET.DLL is not loaded");
    return *procs_;
}

InternetLoadResult Win32Internet::Load() {
    InternetLoadResult result;
    HMODULE module = LoadLibraryA(kInternetLibrary);
    if (!module)
        return result;
    result.LibraryLoaded = true;
    Procedures p{};
    const char* const* name = kInternetProcedures;
    bool all = Resolve(module, *name++, p.GetLastResponseInfo) && Resolve(module, *name++, p.Open) &&
               Resolve(module, *name++, p.Connect) && Resolve(module, *name++, p.FtpSetCurrentDirectory) &&
               Resolve(module, *name++, p.CloseHandle) && Resolve(module, *name++, p.QueryDataAvailable) &&
               Resolve(module, *name++, p.ReadFile) && Resolve(module, *name++, p.FtpOpenFile) &&
               Resolve(module, *name++, p.HttpOpenRequest) && Resolve(module, *name++, p.HttpSendRequest) &&
               Resolve(module, *name++, p.HttpQueryInfo);
    if (!all) {
        result.MissingProcedure = name[-1];
        FreeLibrary(module);
        return result;
    }
    Resolve(module, kInternetSetOptionProcedure, p.SetOption);
    if (module_) {
        // Loaded already: keep one reference, the count tells the loads.
        FreeLibrary(module);
    } else {
        module_ = module;
        *procs_ = p;
    }
    ++loads_;
    return result;
}

void Win32Internet::Unload() {
    if (loads_ == 0 || --loads_ > 0)
        return;
    FreeLibrary(static_cast<HMODULE>(module_));
    module_ = nullptr;
}

InternetHandle Win32Internet::Open(const std::string& agent) {
    return I(Procs().Open(agent.c_str(), kOpenTypePreconfig, nullptr, nullptr, 0));
}

bool Win32Internet::SetTimeouts(InternetHandle handle, uint32_t milliseconds) {
    const Procedures& p = Procs();
    if (!p.SetOption)
        return false;
    DWORD value = milliseconds;
    bool all = true;
    for (DWORD option : {kOptionConnectTimeout, kOptionSendTimeout, kOptionReceiveTimeout})
        all = p.SetOption(H(handle), option, &value, sizeof value) != FALSE && all;
    return all;
}

InternetHandle Win32Internet::Connect(InternetHandle session, const std::string& host, uint16_t port,
                                      InternetService service, const std::optional<std::string>& user,
                                      const std::optional<std::string>& password) {
    return I(Procs().Connect(H(session), host.c_str(), port, OrNull(user), OrNull(password),
                             static_cast<DWORD>(service), 0, 0));
}

bool Win32Internet::FtpSetCurrentDirectory(InternetHandle connection, const std::string& directory) {
    return Procs().FtpSetCurrentDirectory(H(connection), directory.c_str()) != FALSE;
}

InternetHandle Win32Internet::FtpOpenFile(InternetHandle connection, const std::string& name) {
    return I(Procs().FtpOpenFile(H(connection), name.c_str(), GENERIC_READ, kTransferTypeBinary, 0));
}

InternetHandle Win32Internet::HttpOpenRequest(InternetHandle connection, const std::string& verb,
                                              const std::string& object) {
    return I(Procs().HttpOpenRequest(H(connection), verb.c_str(), object.c_str(), nullptr, nullptr, nullptr,
                                     kFlagReload | kFlagExistingConnect | kFlagNoCacheWrite, 0));
}

bool Win32Internet::HttpSendRequest(InternetHandle request, const std::string& headers) {
    return Procs().HttpSendRequest(H(request), headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0) !=
           FALSE;
}

bool Win32Internet::HttpQueryInfo(InternetHandle request, uint32_t query, std::string& value) {
    char buffer[kQueryBufferSize] = {};
    DWORD size = sizeof buffer;
    if (!Procs().HttpQueryInfo(H(request), query, buffer, &size, nullptr))
        return false;
    value.assign(buffer, size < sizeof buffer ? size : sizeof buffer - 1);
    return true;
}

bool Win32Internet::QueryDataAvailable(InternetHandle file, uint32_t& bytes) {
    DWORD available = 0;
    if (!Procs().QueryDataAvailable(H(file), &available, 0, 0))
        return false;
    bytes = available;
    return true;
}

bool Win32Internet::ReadFile(InternetHandle file, char* buffer, uint32_t size, uint32_t& read) {
    DWORD got = 0;
    BOOL ok = Procs().ReadFile(H(file), buffer, size, &got);
    read = ok ? got : 0;
    return ok != FALSE;
}

bool Win32Internet::CloseHandle(InternetHandle handle) { return Procs().CloseHandle(H(handle)) != FALSE; }

bool Win32Internet::LastResponseInfo(std::string& text) {
    char buffer[kResponseBufferSize] = {};
    DWORD error = 0;
    DWORD size = sizeof buffer;
    if (!Procs().GetLastResponseInfo(&error, buffer, &size))
        return false;
    text.assign(buffer, size < sizeof buffer ? size : sizeof buffer - 1);
    return true;
}

uint32_t Win32Internet::LastError() { return GetLastError(); }

} // namespace sw::win32
