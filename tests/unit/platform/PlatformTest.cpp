#include "platform/Platform.h"

#include "platform/PlatformErrors.h"
#include "platform/Registry.h"
#include "platform/fake/FakePlatform.h"
#include "project/Errors.h"
#include "project/Text.h"

#include <gtest/gtest.h>

using namespace sw;

TEST(Platform, ScopedPlatformsNestAndRestore) {
    EXPECT_THROW(GetPlatform(), Exception);
    fake::FakePlatform outer, inner;
    {
        ScopedPlatform a(outer.Get());
        EXPECT_EQ(GetPlatform().Files, &outer.Files());
        {
            ScopedPlatform b(inner.Get());
            EXPECT_EQ(GetPlatform().Registry, &inner.Registry());
            EXPECT_EQ(GetPlatform().Versions.get(), inner.Get().Versions.get());
            EXPECT_NE(GetPlatform().Versions.get(), outer.Get().Versions.get());
        }
        EXPECT_EQ(GetPlatform().Gui, &outer.Gui());
    }
    EXPECT_THROW(GetPlatform(), Exception);
}

TEST(Platform, ServicesCanBeMixed) {
    fake::FakePlatform a, b;
    Platform mixed = a.Get();
    mixed.Gui = &b.Gui();
    ScopedPlatform scope(mixed);
    EXPECT_EQ(GetPlatform().Registry, &a.Registry());
    EXPECT_EQ(GetPlatform().Gui, &b.Gui());
}

TEST(Platform, WideTextConvertsThroughTheInstalledSystem) {
    struct Cyrillic : fake::FakeSystemInfo {
        using FakeSystemInfo::FakeSystemInfo;
        std::string WideToAnsi(std::u16string_view w) override { return w == u"\u041f" ? "\xcf" : "?"; }
    };
    fake::FakePlatform a;
    Cyrillic system(a.Files());
    Platform p = a.Get();
    p.System = &system;
    {
        ScopedPlatform scope(p);
        EXPECT_EQ(WideToAnsi(u"\u041f"), "\xcf");
        {
            ScopedPlatform inner(a.Get());
            EXPECT_EQ(WideToAnsi(u"\u041f"), "?") << "the fake system's code page is 1252";
            EXPECT_EQ(WideToAnsi(u"\u20ac"), "\x80");
        }
        EXPECT_EQ(WideToAnsi(u"\u041f"), "\xcf");
    }
    EXPECT_EQ(WideToAnsi(u"\u20ac"), "\x80");
}

TEST(Platform, AServiceLeftOutIsNamedNotFollowed) {
    fake::FakePlatform a;
    Platform partial = a.Get();
    partial.Registry = nullptr;
    partial.Gui = nullptr;
    ScopedPlatform scope(partial);
    try {
        GetPlatform().Registry->KeyExists(RegistryRoot::LocalMachine, "\\Software");
        ADD_FAILURE() << "a missing registry was followed";
    } catch (const EPlatformError& e) {
        EXPECT_STREQ(e.what(), "The installed platform has no registry service");
    }
    EXPECT_THROW(*GetPlatform().Gui, EPlatformError);
    EXPECT_FALSE(GetPlatform().Gui);
    EXPECT_TRUE(GetPlatform().Files);
    EXPECT_EQ(GetPlatform().Files->FileExists("C:\\SETUP\\SETUP.EXE"), true);
}
