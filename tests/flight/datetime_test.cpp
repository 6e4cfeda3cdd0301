#include <gtest/gtest.h>

#include "flight/datetime.h"

using namespace lumo;

TEST(DateTime, EncodesDaysSinceEpochOf1899)
{
    double d = -1;
    ASSERT_TRUE(encodeDate(1899, 12, 30, d));
    EXPECT_EQ(d, 0);
    ASSERT_TRUE(encodeDate(1900, 1, 1, d));
    EXPECT_EQ(d, 2);
    ASSERT_TRUE(encodeDate(2000, 1, 1, d));
    EXPECT_EQ(d, 36526);
    ASSERT_TRUE(encodeDate(2024, 2, 29, d)); // leap day
    EXPECT_EQ(d, 45351);
    EXPECT_FALSE(encodeDate(2023, 2, 29, d));
    EXPECT_FALSE(encodeDate(2023, 13, 1, d));
    EXPECT_FALSE(encodeDate(2023, 1, 0, d));
}

TEST(DateTime, EncodesTimeAsFractionAndRejectsOutOfRange)
{
    double t = -1;
    ASSERT_TRUE(encodeTime(12, 0, 0, 0, t));
    EXPECT_EQ(t, 0.5);
    ASSERT_TRUE(encodeTime(0, 0, 1, 0, t));
    EXPECT_DOUBLE_EQ(t * SecondsPerDay, 1.0);
    EXPECT_FALSE(encodeTime(24, 0, 0, 0, t));
    EXPECT_FALSE(encodeTime(0, 60, 0, 0, t));
    EXPECT_FALSE(encodeTime(0, 0, 0, 1000, t));
}

TEST(DateTime, DecodeRoundsToTheMillisecond)
{
    DateParts p{2026, 12, 9, 23, 59, 59, 999};
    const double dt = encodeDateTime(p);
    const DateParts back = decodeDateTime(dt);
    EXPECT_EQ(back.year, 2026);
    EXPECT_EQ(back.day, 9);
    EXPECT_EQ(back.hour, 23);
    EXPECT_EQ(back.second, 59);
    EXPECT_EQ(back.msec, 999);

    // Just short of midnight by less than half a millisecond rolls over.
    const DateParts rolled = decodeDateTime(encodeDateTime({2026, 12, 31, 0, 0, 0, 0}) - 1e-10);
    EXPECT_EQ(rolled.year, 2026);
    EXPECT_EQ(rolled.month, 12);
    EXPECT_EQ(rolled.day, 31);
    EXPECT_EQ(rolled.hour, 0);
    EXPECT_EQ(rolled.msec, 0);

    const double noisy = encodeDateTime({2020, 6, 1, 10, 20, 30, 400}) + 0.0004 / SecondsPerDay;
    EXPECT_EQ(roundToMillisecond(noisy), encodeDateTime({2020, 6, 1, 10, 20, 30, 400}));
}
