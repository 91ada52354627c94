#include "platform/win32/Win32Dde.h"

#include "platform/win32/Win32Api.h"

#include <ddeml.h>

namespace sw::win32 {

namespace {

// How long a transaction may take before it counts as refused.
constexpr DWORD kTimeout = 10000;

HDDEDATA CALLBACK ClientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// A string handle of an instance, freed when destroyed.
class StringHandle {
  public:
    StringHandle(DWORD instance, const std::string& text)
        : instance_(instance), handle_(DdeCreateStringHandleA(instance, text.c_str(), CP_WINANSI)) {}
    ~StringHandle() {
        if (handle_)
            DdeFreeStringHandle(instance_, handle_);
    }
    StringHandle(const StringHandle&) = delete;
    StringHandle& operator=(const StringHandle&) = delete;
    HSZ Get() const { return handle_; }

  private:
    DWORD instance_;
    HSZ handle_;
};

// The conversation owns its DDE instance: ending one ends the other.
class Conversation : public IDdeConversation {
  public:
    Conversation(DWORD instance, HCONV conversation) : instance_(instance), conversation_(conversation) {}
    ~Conversation() override {
        DdeDisconnect(conversation_);
        DdeUninitialize(instance_);
    }
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;

    bool Execute(const std::string& command) override {
        DWORD result = 0;
        auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(command.c_str()));
        HDDEDATA done = DdeClientTransaction(data, static_cast<DWORD>(command.size() + 1), conversation_, nullptr, 0,
                                             XTYP_EXECUTE, kTimeout, &result);
        return done != nullptr;
    }

    std::optional<std::string> Request(const std::string& item) override {
        StringHandle name(instance_, item);
        if (!name.Get())
            return std::nullopt;
        HDDEDATA data =
            DdeClientTransaction(nullptr, 0, conversation_, name.Get(), CF_TEXT, XTYP_REQUEST, kTimeout, nullptr);
        if (!data)
            return std::nullopt;
        std::string text(DdeGetData(data, nullptr, 0, 0), '\0');
        if (!text.empty())
            DdeGetData(data, reinterpret_cast<BYTE*>(text.data()), static_cast<DWORD>(text.size()), 0);
        DdeFreeDataHandle(data);
        text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
        return text;
    }

  private:
    DWORD instance_;
    HCONV conversation_;
};

} // namespace

std::unique_ptr<IDdeConversation> Win32Dde::Connect(const std::string& service, const std::string& topic) {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR)
        return nullptr;
    HCONV conversation = nullptr;
    {
        StringHandle serviceName(instance, service);
        StringHandle topicName(instance, topic);
        if (serviceName.Get() && topicName.Get())
            conversation = DdeConnect(instance, serviceName.Get(), topicName.Get(), nullptr);
    }
    if (!conversation) {
        DdeUninitialize(instance);
        return nullptr;
    }
    return std::make_unique<Conversation>(instance, conversation);
}

} // namespace sw::win32
