// A fake platform for the system helpers' tests.
#pragma once

#include "platform/Platform.h"
#include "platform/fake/FakePlatform.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

namespace sw::test {

class SystemFixture : public ::testing::Test {
  protected:
    SystemFixture() : platform_(fake_.Get()) {}

    fake::FakePlatform fake_;
    ScopedPlatform platform_;
};

} // namespace sw::test
