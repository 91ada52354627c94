#include "platform/Platform.h"

#include "platform/fake/FakePlatform.h"
#include "project/Errors.h"

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
