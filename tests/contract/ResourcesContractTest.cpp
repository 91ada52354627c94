#include "ContractBackends.h"

#include "platform/PortableResources.h"

using namespace sw;

namespace {

struct Entry {
    ResourceType type;
    std::string name; // upper case, as resource compilers store names
    std::vector<uint8_t> bytes;
};

// The resources of a program holding exactly the given entries.
class ResourceHolder {
  public:
    ResourceHolder(contract::FakeBackend& backend, const std::vector<Entry>& entries)
        : resources_(&backend.platform.Resources()) {
        for (const auto& e : entries)
            backend.platform.Resources().Add(e.type, e.name, e.bytes);
    }

#ifdef _WIN32
    // A copy of the running program with the entries added, loaded as data.
    ResourceHolder(contract::Win32Backend& backend, const std::vector<Entry>& entries) {
        std::string copy = backend.Scratch() + "\\resources.exe";
        if (!CopyFileA(backend.System().ModulePath().c_str(), copy.c_str(), FALSE))
            throw std::runtime_error("cannot copy the test program");
        HANDLE update = BeginUpdateResourceA(copy.c_str(), FALSE);
        if (!update)
            throw std::runtime_error("BeginUpdateResource failed");
        for (const auto& e : entries)
            UpdateResourceA(update, e.type == ResourceType::Bitmap ? RT_BITMAP : RT_RCDATA, e.name.c_str(),
                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), const_cast<uint8_t*>(e.bytes.data()),
                            static_cast<DWORD>(e.bytes.size()));
        if (!EndUpdateResourceA(update, FALSE))
            throw std::runtime_error("EndUpdateResource failed");
        copy_ = copy;
        module_ = LoadLibraryExA(copy.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module_)
            throw std::runtime_error("cannot load the copy");
        win32_ = std::make_unique<win32::Win32Resources>(module_);
        resources_ = win32_.get();
    }
#endif

    ~ResourceHolder() {
#ifdef _WIN32
        if (module_)
            FreeLibrary(module_);
#endif
    }

    IResources& Get() { return *resources_; }
#ifdef _WIN32
    // The program file holding the entries.
    const std::string& Copy() const { return copy_; }
#endif

  private:
    IResources* resources_ = nullptr;
#ifdef _WIN32
    std::string copy_;
    HMODULE module_ = nullptr;
    std::unique_ptr<win32::Win32Resources> win32_;
#endif
};

template <typename Backend> class ResourcesContract : public ::testing::Test {
  protected:
    Backend backend;
};

TYPED_TEST_SUITE(ResourcesContract, contract::Backends, contract::BackendNames);

TYPED_TEST(ResourcesContract, FoundByTypeAndNameWithoutRegardToCase) {
    std::vector<uint8_t> form = {'T', 'P', 'F', '0', 6, 'T', 'F', 'o', 'r', 'm', '1'};
    std::vector<uint8_t> info(40, 0);
    info[0] = 40;
    ResourceHolder holder(this->backend,
                          {{ResourceType::RCData, "TFORM1", form}, {ResourceType::Bitmap, "INSTALLTHEME1", info}});
    IResources& res = holder.Get();
    EXPECT_EQ(res.Find(ResourceType::RCData, "TForm1"), std::optional<std::vector<uint8_t>>(form));
    EXPECT_EQ(res.Find(ResourceType::RCData, "TFORM1"), std::optional<std::vector<uint8_t>>(form));
    EXPECT_EQ(res.Find(ResourceType::Bitmap, "InstallTheme1"), std::optional<std::vector<uint8_t>>(info));
    EXPECT_FALSE(res.Find(ResourceType::Bitmap, "TFORM1"));
    EXPECT_FALSE(res.Find(ResourceType::RCData, "INSTALLTHEME1"));
    EXPECT_FALSE(res.Find(ResourceType::RCData, "TWELCOMEFORM"));
}

#ifdef _WIN32
// The portable reader, which the Linux build command runs on a setup program,
// finds in a real program file what Windows finds there.
TEST(PortableResourcesContract, FindsWhatWindowsFinds) {
    contract::Win32Backend backend;
    std::vector<uint8_t> form = {'T', 'P', 'F', '0', 6, 'T', 'F', 'o', 'r', 'm', '1'};
    std::vector<uint8_t> info(40, 0), flag(44, 7);
    info[0] = flag[0] = 40;
    ResourceHolder holder(backend, {{ResourceType::RCData, "TFORM1", form},
                                    {ResourceType::Bitmap, "INSTALLTHEME1", info},
                                    {ResourceType::Bitmap, "BM_LANG_ENGLISH", flag}});
    auto file = backend.Files().OpenFile(holder.Copy(), FileMode::Read);
    ASSERT_TRUE(file);
    const std::vector<uint8_t> bytes = file->ReadAll();
    TPortableResources portable(std::string(bytes.begin(), bytes.end()));
    for (ResourceType type : {ResourceType::RCData, ResourceType::Bitmap})
        for (const char* name : {"TFORM1", "TForm1", "INSTALLTHEME1", "bm_lang_english", "TWELCOMEFORM", "TFORM"})
            EXPECT_EQ(portable.Find(type, name), holder.Get().Find(type, name)) << name;
    EXPECT_EQ(portable.Find(ResourceType::RCData, "TFORM1"), std::optional<std::vector<uint8_t>>(form));
    EXPECT_FALSE(TPortableResources("MZ not a program").Find(ResourceType::RCData, "TFORM1"));
}
#endif

} // namespace
