#include "platform/Platform.h"

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
            EXPECT_EQ(GetPlatform().Versions, inner.Get().Versions);
            EXPECT_NE(GetPlatform().Versions, outer.Get().Versions);
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
