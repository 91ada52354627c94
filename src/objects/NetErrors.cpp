#include "objects/NetErrors.h"

#include "objects/NetInstallLocation.h"
#include "platform/Internet.h"
#include "platform/Platform.h"
#include "project/Text.h"

#include <vector>

namespace sw {

namespace {

// The codes of WinInet's header that have names, as runs of consecutive codes.
struct NameRun {
    uint32_t First;
    std::vector<const char*> Names;
};

const std::vector<NameRun>& NameRuns() {
    static const std::vector<NameRun> runs{
        {6, {"ERROR_INVALID_HANDLE"}},
        {12001,
         {"ERROR_INTERNET_OUT_OF_HANDLES",
          "ERROR_INTERNET_TIMEOUT",
          "ERROR_INTERNET_EXTENDED_ERROR",
          "ERROR_INTERNET_INTERNAL_ERROR",
          "ERROR_INTERNET_INVALID_URL",
          "ERROR_INTERNET_UNRECOGNIZED_SCHEME",
          "ERROR_INTERNET_NAME_NOT_RESOLVED",
          "ERROR_INTERNET_PROTOCOL_NOT_FOUND",
          "ERROR_INTERNET_INVALID_OPTION",
          "ERROR_INTERNET_BAD_OPTION_LENGTH",
          "ERROR_INTERNET_OPTION_NOT_SETTABLE",
          "ERROR_INTERNET_SHUTDOWN",
          "ERROR_INTERNET_INCORRECT_USER_NAME",
          "ERROR_INTERNET_INCORRECT_PASSWORD",
          "ERROR_INTERNET_LOGIN_FAILURE",
          "ERROR_INTERNET_INVALID_OPERATION",
          "ERROR_INTERNET_OPERATION_CANCELLED",
          "ERROR_INTERNET_INCORRECT_HANDLE_TYPE",
          "ERROR_INTERNET_INCORRECT_HANDLE_STATE",
          "ERROR_INTERNET_NOT_PROXY_REQUEST",
          "ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND",
          "ERROR_INTERNET_BAD_REGISTRY_PARAMETER",
          "ERROR_INTERNET_NO_DIRECT_ACCESS",
          "ERROR_INTERNET_NO_CONTEXT",
          "ERROR_INTERNET_NO_CALLBACK",
          "ERROR_INTERNET_REQUEST_PENDING",
          "ERROR_INTERNET_INCORRECT_FORMAT",
          "ERROR_INTERNET_ITEM_NOT_FOUND",
          "ERROR_INTERNET_CANNOT_CONNECT",
          "ERROR_INTERNET_CONNECTION_ABORTED",
          "ERROR_INTERNET_CONNECTION_RESET",
          "ERROR_INTERNET_FORCE_RETRY"}},
        {12036, {"ERROR_INTERNET_HANDLE_EXISTS"}},
        {12041, {"ERROR_INTERNET_MIXED_SECURITY"}},
        {12110, {"ERROR_FTP_TRANSFER_IN_PROGRESS", "ERROR_FTP_DROPPED"}},
        {12130,
         {"ERROR_GOPHER_PROTOCOL_ERROR", "ERROR_GOPHER_NOT_FILE", "ERROR_GOPHER_DATA_ERROR", "ERROR_GOPHER_END_OF_DATA",
          "ERROR_GOPHER_INVALID_LOCATOR", "ERROR_GOPHER_INCORRECT_LOCATOR_TYPE", "ERROR_GOPHER_NOT_GOPHER_PLUS",
          "ERROR_GOPHER_ATTRIBUTE_NOT_FOUND", "ERROR_GOPHER_UNKNOWN_LOCATOR"}},
        {kErrorHttpHeaderNotFound,
         {"ERROR_HTTP_HEADER_NOT_FOUND", "ERROR_HTTP_DOWNLEVEL_SERVER", "ERROR_HTTP_INVALID_SERVER_RESPONSE",
          "ERROR_HTTP_INVALID_HEADER", "ERROR_HTTP_INVALID_QUERY_REQUEST", "ERROR_HTTP_HEADER_ALREADY_EXISTS"}},
    };
    return runs;
}

// The server's last response text; "No server response" when it cannot be had.
std::string LastResponse() {
    std::string text;
    try {
        IInternet* internet = GetPlatform().Internet.get();
        if (internet && internet->LastResponseInfo(text))
            return text;
    } catch (const Exception&) {
        // No platform, or the library is not loaded: no response either.
    }
    return "No server response";
}

uint32_t LastErrorCode() {
    try {
        IInternet* internet = GetPlatform().Internet.get();
        return internet ? internet->LastError() : 0;
    } catch (const Exception&) {
        return 0;
    }
}

} // namespace

std::string InternetErrorName(uint32_t code) {
    for (const NameRun& run : NameRuns())
        if (code >= run.First && code - run.First < run.Names.size())
            return run.Names[code - run.First];
    return "Unregistered error code";
}

ENIL::ENIL(const std::string& text, const std::optional<std::string>& response)
    : Exception([&] {
          std::string errorName = InternetErrorName(LastErrorCode());
          TCustomNetInstallLocation* active = ActiveNetLocation();
          std::string host = active ? active->LoginInformation()->Hostname : "";
          return Format("%s. Error message %s. Server %s. Response from server %s",
                        {text, errorName, host, response ? *response : LastResponse()});
      }()) {}

} // namespace sw
