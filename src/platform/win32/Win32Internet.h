// WinInet through WININET.DLL, loaded at run time so that the program starts
// on systems without it. The procedures stay resolved while any load is
// outstanding; the library is freed with the last Unload.
#pragma once

#include "platform/Internet.h"

#include <memory>

namespace sw::win32 {

class Win32Internet : public IInternet {
  public:
    Win32Internet();
    ~Win32Internet() override;
    Win32Internet(const Win32Internet&) = delete;
    Win32Internet& operator=(const Win32Internet&) = delete;

    InternetLoadResult Load() override;
    void Unload() override;
    InternetHandle Open(const std::string& agent) override;
    bool SetTimeouts(InternetHandle handle, uint32_t milliseconds) override;
    InternetHandle Connect(InternetHandle session, const std::string& host, uint16_t port, InternetService service,
                           const std::optional<std::string>& user, const std::optional<std::string>& password) override;
    bool FtpSetCurrentDirectory(InternetHandle connection, const std::string& directory) override;
    InternetHandle FtpOpenFile(InternetHandle connection, const std::string& name) override;
    InternetHandle HttpOpenRequest(InternetHandle connection, const std::string& verb,
                                   const std::string& object) override;
    bool HttpSendRequest(InternetHandle request, const std::string& headers) override;
    bool HttpQueryInfo(InternetHandle request, uint32_t query, std::string& value) override;
    bool QueryDataAvailable(InternetHandle file, uint32_t& bytes) override;
    bool ReadFile(InternetHandle file, char* buffer, uint32_t size, uint32_t& read) override;
    bool CloseHandle(InternetHandle handle) override;
    bool LastResponseInfo(std::string& text) override;
    uint32_t LastError() override;

  private:
    struct Procedures;
    // Raises EPlatformError when called while the library is not loaded.
    const Procedures& Procs() const;

    void* module_ = nullptr;
    int loads_ = 0;
    std::unique_ptr<Procedures> procs_;
};

} // namespace sw::win32
