#include "platform/FileStamp.h"

#include "project/Errors.h"

#include <gtest/gtest.h>

using namespace sw;

TEST(FileStamp, PacksDateHighAndTimeLow) {
    EXPECT_EQ(EncodeFileStamp({2000, 1, 1, 12, 0, 0}), 0x28216000u);
    EXPECT_EQ(EncodeFileStamp({1980, 1, 1, 0, 0, 0}), 0x00210000u);
    EXPECT_EQ(DecodeFileStamp(0x28216000u), (FileDateTime{2000, 1, 1, 12, 0, 0}));
}

TEST(FileStamp, RoundTripsAtTheEdgesAndDropsOddSeconds) {
    for (FileDateTime dt : {FileDateTime{1980, 1, 1, 0, 0, 0}, FileDateTime{2107, 12, 31, 23, 59, 58},
                            FileDateTime{2004, 2, 29, 13, 45, 30}})
        EXPECT_EQ(DecodeFileStamp(EncodeFileStamp(dt)), dt);
    EXPECT_EQ(DecodeFileStamp(EncodeFileStamp({1999, 6, 15, 8, 9, 59})).Second, 58);
}

TEST(FileStamp, RefusesDatesItCannotHold) {
    EXPECT_THROW(EncodeFileStamp({1979, 12, 31, 0, 0, 0}), Exception);
    EXPECT_THROW(EncodeFileStamp({2108, 1, 1, 0, 0, 0}), Exception);
    EXPECT_THROW(EncodeFileStamp({2001, 2, 29, 0, 0, 0}), Exception);
    EXPECT_THROW(EncodeFileStamp({2001, 13, 1, 0, 0, 0}), Exception);
    EXPECT_THROW(EncodeFileStamp({2001, 1, 1, 24, 0, 0}), Exception);
}
