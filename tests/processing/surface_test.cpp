#include <gtest/gtest.h>

#include "flight/scripteddialogs.h"
#include "processing/ozone.h"
#include "processing/surface.h"
#include "records.h"

namespace lumo {
namespace {

using test::addOzone;
using test::addPtu;
using test::addSonde;

double statistic(std::initializer_list<double> samples)
{
    OrderStatistic s;
    for (double v : samples)
        s.add(v);
    return s.value();
}

TEST(OrderStatistic, EmptySlotsTakePartAsZeros)
{
    EXPECT_EQ(statistic({}), 0);
    EXPECT_EQ(statistic({5, 6, 7, 8, 9, 10}), 0);
    // Seven positive samples: the 8 zeros fill indices 0..7, index 8 is the smallest sample.
    EXPECT_EQ(statistic({15, 9, 12, 11, 10, 14, 13}), 9);
    EXPECT_EQ(statistic({-3, -2, -1, -4}), 0);
}

TEST(OrderStatistic, NinthSmallestOfLastFifteen)
{
    OrderStatistic s;
    for (int i = 1; i <= 15; ++i)
        s.add(i);
    EXPECT_EQ(s.value(), 9); // index 8, not the median index 7
    for (int i = 0; i < 5; ++i)
        s.add(100 + i); // pushes out 1..5: ring holds 6..15, 100..104
    EXPECT_EQ(s.value(), 14);
}

class SurfaceQuestions : public ::testing::Test {
protected:
    void SetUp() override
    {
        q.rsPrInst = 1;
        q.sfcP = 1000;
        q.sfcT = 20;
        q.sfcU = 50;
        q.dialogs = &dialogs;
    }
    void fill(double p, double t, double u, int n = 15)
    {
        for (int i = 0; i < n; ++i)
            addPtu(q.sfcRecs, i, p, t, u);
    }
    Q5 q;
    ScriptedDialogs dialogs{true};
};

TEST_F(SurfaceQuestions, ThresholdsAreStrict)
{
    fill(1002, 22, 60);
    EXPECT_TRUE(surfaceStatistics(q));
    EXPECT_TRUE(dialogs.transcript.empty());
    EXPECT_EQ(q.sfcP, 1000);
}

TEST_F(SurfaceQuestions, AskAllThreeWithExactTexts)
{
    fill(1003.5, 17.25, 61);
    EXPECT_TRUE(surfaceStatistics(q));
    ASSERT_EQ(dialogs.transcript.size(), 3u);
    const std::string blanks(20, ' ');
    EXPECT_EQ(dialogs.transcript[0].caption, "Surface Pressure");
    EXPECT_EQ(dialogs.transcript[0].text, "Surface pressure saved in file = 1000.00\nMeasured surface pressure = "
                                          "1003.50\n\nSave the new measured pressure?" + blanks);
    EXPECT_EQ(dialogs.transcript[1].caption, "Surface Temperature");
    EXPECT_EQ(dialogs.transcript[1].text, "Surface temperature saved in file = 20.0\nMeasured surface temperature = "
                                          "17.2\n\nSave the new measured temperature?" + blanks);
    EXPECT_EQ(dialogs.transcript[2].caption, "Surface Humidity");
    EXPECT_EQ(dialogs.transcript[2].text, "Surface humidity saved in file = 50.0\nMeasured surface humidity = "
                                          "61.0\n\nSave the new measured humidity?" + blanks);
    EXPECT_EQ(q.sfcP, 1003.5);
    EXPECT_EQ(q.sfcT, 17.25);
    EXPECT_EQ(q.sfcU, 61);
}

TEST_F(SurfaceQuestions, ComparesWithCorrectedValueButShowsStoredOne)
{
    q.sfcCorrP = -3;  // corrected saved pressure 1003
    fill(1003.5, 20, 50);
    ScriptedDialogs no(false);
    q.dialogs = &no;
    EXPECT_TRUE(surfaceStatistics(q));
    EXPECT_TRUE(no.transcript.empty());
    q.sfcCorrP = 3; // corrected 997: 6.5 away
    EXPECT_TRUE(surfaceStatistics(q));
    ASSERT_EQ(no.transcript.size(), 1u);
    EXPECT_NE(no.transcript[0].text.find("saved in file = 1000.00"), std::string::npos);
    EXPECT_EQ(q.sfcP, 1000); // No changes nothing
}

TEST_F(SurfaceQuestions, InvalidPressureStopsBeforeTemperature)
{
    fill(450, 10, 10);
    EXPECT_FALSE(surfaceStatistics(q));
    ASSERT_EQ(dialogs.transcript.size(), 2u);
    EXPECT_EQ(dialogs.transcript[1].kind, ScriptedDialogs::Entry::Error);
    EXPECT_EQ(dialogs.transcript[1].caption, "Error");
    EXPECT_EQ(dialogs.transcript[1].text, "Surface pressure invalid.");
}

TEST_F(SurfaceQuestions, FiveHundredIsValidAndNoSensorSkipsCheck)
{
    q.sfcP = 500;
    fill(500, 20, 50);
    EXPECT_TRUE(surfaceStatistics(q));
    q.sfcP = 400;
    q.dialogs = nullptr; // the pressure question is answered No
    EXPECT_FALSE(surfaceStatistics(q));
    q.dialogs = &dialogs;
    q.rsPrInst = 0;
    dialogs.transcript.clear();
    EXPECT_TRUE(surfaceStatistics(q));
    EXPECT_TRUE(dialogs.transcript.empty());
}

TEST_F(SurfaceQuestions, WithoutDialogsQuestionsAreAnsweredNo)
{
    q.dialogs = nullptr;
    fill(990, 10, 10);
    EXPECT_TRUE(surfaceStatistics(q));
    EXPECT_EQ(q.sfcP, 1000);
    EXPECT_EQ(q.sfcT, 20);
}

TEST(SurfaceOzone, PerSondeStatisticAtReferencePressure)
{
    Q5 q;
    q.sfcP = 1010;
    q.sfcCorrP = 2;
    addSonde(q, 1, "A1", 0, 30);
    addSonde(q, 2, "B2", 0, 30);
    for (int i = 0; i < 20; ++i) {
        addOzone(q.sfcRecs, i, 1, 1.0 + i * 0.01, 20);
        addOzone(q.sfcRecs, i, 7, 2.0, 20); // no such chain position
    }
    addOzone(q.sfcRecs, 30, 2, 0.5, 20);
    surfaceOzone(q);
    for (const RawRecord& r : q.sfcRecs) {
        EXPECT_EQ(r.data.o3.p, 1008);
        if (r.data.o3.o3Num == 7) {
            EXPECT_EQ(r.data.o3.o3pp, Missing);
        }
    }
    // Ninth smallest of the last 15 currents (1.05 .. 1.19) is 1.13.
    EXPECT_DOUBLE_EQ(q.sfcO3[0], o3PartialPressure(q, 1008, 1.0 + 13 * 0.01, 20, 1));
    EXPECT_EQ(q.sfcO3[1], 0); // a single sample sorts below 14 zeros
    EXPECT_EQ(q.sfcO3[2], 0);
    EXPECT_EQ(q.sfcO3[3], 0);
    q.sfcUseStd = 1;
    q.stdP = 1013;
    surfaceOzone(q);
    EXPECT_EQ(q.sfcRecs.first()->data.o3.p, 1013);
}

TEST(SurfaceOzone, AllInvalidSamplesGiveMissing)
{
    Q5 q;
    q.sfcP = 1000;
    addSonde(q, 1, "A1");
    for (int i = 0; i < 9; ++i)
        addOzone(q.sfcRecs, i, 1, Missing);
    surfaceOzone(q);
    EXPECT_EQ(q.sfcO3[0], Missing);
}

} // namespace
} // namespace lumo
