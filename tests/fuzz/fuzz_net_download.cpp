// A download from a server whose reply is untrusted bytes: the status line,
// the Content-Length text, where the transfer ends, the remote name and the
// content all come from the input. A download that succeeds has written
// exactly the bytes sent, as many as an HTTP reply announced (an FTP
// transfer ended early cannot be told from a complete one); one that fails
// or is cancelled leaves no file behind, and nothing but the target is ever
// written.
#include "objects/NetErrors.h"
#include "objects/NetInstallLocation.h"
#include "platform/fake/FakePlatform.h"
#include "project/ProgramState.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Takes a field ended by a zero byte (or the rest) off the front of the input.
std::string Field(std::string_view& input) {
    size_t end = input.find('\0');
    std::string field(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return field;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.size() < 3)
        return 0;
    const uint8_t flags = static_cast<uint8_t>(input[0]);
    const int status = 100 + static_cast<uint8_t>(input[1]) * 2;
    input.remove_prefix(2);
    const std::string length = Field(input);
    const std::string remote = Field(input);
    const std::string content(input);

    sw::fake::FakePlatform fake;
    sw::ScopedPlatform platform(fake.Get());
    sw::TProgramState state; // ends first, while the platform is there
    auto& file = fake.Internet().AddServer("srv").AddFile("/dir/" + remote, content);
    file.Status = status;
    if (flags & 1)
        file.ContentLength = length;
    if (flags & 2)
        file.CutAfter = content.size() / 2;
    const bool ftp = flags & 4;
    const std::string local = "C:\\WINDOWS\\TEMP\\target.1";
    bool aborted = false;
    bool succeeded = false;
    {
        sw::TNetInstallLocation location(nullptr);
        location.LoginInformation()->Hostname = "srv";
        location.LoginInformation()->Directory = "dir";
        location.LoginInformation()->Protocol = ftp ? sw::TInternetProtocol::ipFTP : sw::TInternetProtocol::ipHTTP;
        location.OnAfterDownload = sw::TNotifyWithAbortFlag("After", [&](sw::TPersistent*, bool& a) { aborted = a; });
        if (flags & 8)
            location.OnDataReceived =
                sw::TDataReceivedEvent("Cancel", [](sw::TPersistent*, const std::string&, int32_t, int32_t, int32_t,
                                                    const char*) { sw::SetDownloadAbort(true); });
        try {
            location.Download(remote, local);
            succeeded = !aborted;
        } catch (const sw::Exception&) {
        }
    }
    const auto entries = fake.Files().ListDirectory("C:\\WINDOWS\\TEMP", "*.*");
    if (succeeded) {
        // Exactly what the server sent; all of it when HTTP announced a length.
        const std::string sent = file.CutAfter ? content.substr(0, *file.CutAfter) : content;
        const std::string got = fake.Files().FileText(local);
        if (got != sent || got.empty() || entries.size() != 1)
            std::abort();
        if (!ftp && (status < 200 || status > 299))
            std::abort();
        const std::string announced = file.ContentLength.value_or(std::to_string(content.size()));
        if (!ftp && !announced.empty() && announced.find_first_not_of("0123456789") == std::string::npos &&
            announced.size() < 10 && std::stoul(announced) > 0 && std::stoul(announced) != got.size())
            std::abort();
    } else if (!entries.empty()) {
        std::abort();
    }
    return 0;
}
