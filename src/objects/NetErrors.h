// The errors of a net install location. The ENIL family builds its message
// from the particular text, the name of the system's last error code, the
// host of the active location and the server's last response text.
#pragma once

#include "project/Errors.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sw {

// The name of a WinInet error code ("ERROR_INTERNET_TIMEOUT"), or
// "Unregistered error code".
std::string InternetErrorName(uint32_t code);

class ENIL : public Exception {
  public:
    // The response text is the server's last one unless given (an HTTP
    // reply's status line).
    explicit ENIL(const std::string& text, const std::optional<std::string>& response = std::nullopt);
};

#define SW_NET_ERROR(Name, Base)                                                                                       \
    class Name : public Base {                                                                                         \
        using Base::Base;                                                                                              \
    };

SW_NET_ERROR(ENIL_OpenSession, ENIL)
SW_NET_ERROR(ENIL_OpenService, ENIL)
SW_NET_ERROR(ENIL_FailDataQuery, ENIL)
SW_NET_ERROR(ENIL_ReadFile, ENIL)
SW_NET_ERROR(ENIL_FileNotFound, ENIL)
SW_NET_ERROR(ENIL_FTP, ENIL)
SW_NET_ERROR(ENIL_FTPSetDir, ENIL_FTP)
SW_NET_ERROR(ENIL_FTPOpenFile, ENIL_FTP)
SW_NET_ERROR(ENIL_FTPCloseFile, ENIL_FTP)
SW_NET_ERROR(ENIL_HTTP, ENIL)
SW_NET_ERROR(ENIL_HTTPOpenFile, ENIL_HTTP)
SW_NET_ERROR(ENIL_HTTPSendRequest, ENIL_HTTP)

// Outside the server errors: the local file, and the library.
SW_NET_ERROR(ENIL_WriteDestFile, Exception)
SW_NET_ERROR(ENIL_FailLoadWININET, Exception)
SW_NET_ERROR(ENIL_FailLoadDLLProc, Exception)

#undef SW_NET_ERROR

} // namespace sw
