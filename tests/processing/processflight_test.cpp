#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "flight/plotsink.h"
#include "flight/scripteddialogs.h"
#include "records.h"
#include "support/synthflight.h"

namespace lumo {
namespace {

using test::addOzone;
using test::addPtu;
using test::SynthFlight;

class RecordingSink : public PlotSink {
public:
    RecordingSink(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
    void LoadPlotData(Q5& q) override { log_.push_back(name_ + ":" + std::to_string(q.windRecs.size())); }

private:
    std::vector<std::string>& log_;
    std::string name_;
};

// Everything a run derives, as text for exact comparison between runs.
std::string snapshot(const Q5& q)
{
    std::string s;
    auto put = [&s](const void* p, std::size_t n) { s.append(static_cast<const char*>(p), n); };
    for (const RecordList<RawRecord>* list : {&q.sfcRecs, &q.fltRecs})
        for (const RawRecord& r : *list) {
            put(&r.time, sizeof r.time);
            put(&r.data, sizeof r.data);
        }
    for (const WindRecord& w : q.windRecs) {
        put(&w.time, sizeof w.time);
        put(&w.alt, sizeof w.alt);
        put(&w.wd, sizeof w.wd);
        put(&w.ws, sizeof w.ws);
    }
    put(q.o3Measured, sizeof q.o3Measured);
    put(q.o3Residual, sizeof q.o3Residual);
    put(q.o3TopMix, sizeof q.o3TopMix);
    put(q.sfcO3, sizeof q.sfcO3);
    put(q.bkgRef, sizeof q.bkgRef);
    put(&q.launchRec, sizeof q.launchRec);
    put(&q.burstRec, sizeof q.burstRec);
    return s;
}

TEST(ProcessFlight, EmptyListFailsWithoutChanges)
{
    Q5 q;
    addPtu(q.sfcRecs, 0, 1000, 20, 50);
    q.o3Measured[0] = 5;
    EXPECT_FALSE(q.processFlight());
    EXPECT_EQ(q.o3Measured[0], 5);
    Q5 r;
    addPtu(r.fltRecs, 0, 1000, 20, 50);
    EXPECT_FALSE(r.processFlight());
}

TEST(ProcessFlight, InvalidSurfacePressureFailsAfterClearingAndSkipsPlots)
{
    Q5 q;
    SynthFlight f;
    f.totalSeconds = 600;
    f.build(q);
    ScriptedDialogs dialogs(false);
    std::vector<std::string> log;
    RecordingSink sink(log, "sfc");
    q.dialogs = &dialogs;
    q.plotSinks = {&sink};
    ASSERT_TRUE(q.processFlight());
    EXPECT_NE(q.launchRec, nullptr);
    EXPECT_EQ(log.size(), 1u);
    q.sfcCorrP = 600; // corrected surface pressure 400 hPa
    EXPECT_FALSE(q.processFlight());
    EXPECT_EQ(q.launchRec, nullptr);
    EXPECT_EQ(q.burstRec, nullptr);
    EXPECT_EQ(q.o3Measured[0], Missing);
    EXPECT_TRUE(q.windRecs.empty());
    // The flight records lose what the first run derived too.
    int derived = 0;
    for (const RawRecord& r : q.fltRecs)
        derived += (r.isPtu() && r.data.ptu.hgt != Missing) || (r.isOzone() && r.data.o3.o3pp != Missing);
    EXPECT_EQ(derived, 0);
    EXPECT_EQ(log.size(), 1u);
    ASSERT_FALSE(dialogs.transcript.empty());
    EXPECT_EQ(dialogs.transcript.back().text, "Surface pressure invalid.");
}

TEST(ProcessFlight, PlotSinksRefilledInRegisteredOrderAfterWinds)
{
    Q5 q;
    SynthFlight f;
    f.totalSeconds = 900;
    f.sondes = 1;
    f.build(q);
    std::vector<std::string> log;
    RecordingSink s1(log, "surface"), s2(log, "flight"), s3(log, "wind");
    q.plotSinks = {&s1, &s2, &s3};
    ASSERT_TRUE(q.processFlight());
    ASSERT_EQ(log.size(), 3u);
    const std::string n = std::to_string(q.windRecs.size());
    EXPECT_EQ(log[0], "surface:" + n);
    EXPECT_EQ(log[1], "flight:" + n);
    EXPECT_EQ(log[2], "wind:" + n);
    EXPECT_GT(q.windRecs.size(), 0u);
}

TEST(ProcessFlight, RepeatedRunsGiveIdenticalResultsAndKeepRecords)
{
    Q5 q;
    SynthFlight f;
    f.totalSeconds = 3000;
    f.build(q);
    q.lpFilter = 5;
    // Ozone records after the last PTU and GPS samples cannot be placed.
    for (int k = 1; k <= 4; ++k)
        addOzone(q.fltRecs, 3100 + k, k, 1.0);
    const std::size_t count = q.fltRecs.size();
    ASSERT_TRUE(q.processFlight());
    const std::string first = snapshot(q);
    ASSERT_TRUE(q.processFlight());
    EXPECT_EQ(snapshot(q), first);
    ASSERT_TRUE(q.processFlight());
    EXPECT_EQ(snapshot(q), first);
    EXPECT_EQ(q.fltRecs.size(), count);
    const RawRecord* last = q.fltRecs.last();
    EXPECT_EQ(last->data.o3.p, Missing);
    EXPECT_EQ(last->data.o3.t, Missing);
    EXPECT_EQ(last->data.o3.gpsAlt, Missing);
}

TEST(ProcessFlight, OutOfRangeChainNumbersTakePartInNothing)
{
    Q5 q;
    SynthFlight f;
    f.totalSeconds = 1500;
    f.sondes = 1;
    f.build(q);
    ASSERT_TRUE(q.processFlight());
    const double measured = q.o3Measured[0];
    const double sfcO3 = q.sfcO3[0];
    for (RecordList<RawRecord>* list : {&q.sfcRecs, &q.fltRecs})
        for (RawRecord* r = list->first(); r; r = r->next)
            if (r->isOzone()) {
                for (std::uint8_t num : {0, 200}) {
                    RawRecord* copy = list->append();
                    copy->time = r->time;
                    copy->type = r->type;
                    copy->kind = r->kind;
                    copy->data = r->data;
                    copy->data.o3.o3Num = num;
                }
                break;
            }
    for (int i = 0; i < 40; ++i) {
        RawRecord* r = addOzone(q.fltRecs, 200 + i, 9, 3.0);
        r->time = q.fltRecs.first()->time + (200 + i) / SecondsPerDay;
    }
    q.o3Count = 200;
    q.lpFilter = 3;
    ASSERT_TRUE(q.processFlight());
    for (const RecordList<RawRecord>* list : {&q.sfcRecs, &q.fltRecs})
        for (const RawRecord& r : *list)
            if (r.isOzone() && r.o3Slot() < 0) {
                EXPECT_EQ(r.data.o3.o3pp, Missing);
            }
    q.lpFilter = 0;
    ASSERT_TRUE(q.processFlight());
    EXPECT_EQ(q.o3Measured[0], measured);
    EXPECT_EQ(q.sfcO3[0], sfcO3);
    for (int h = 1; h < 4; ++h)
        EXPECT_EQ(q.o3Measured[h], Missing);
}

TEST(ProcessFlight, SyntheticFlightLaunchBurstAndColumn)
{
    Q5 q;
    SynthFlight f;
    f.build(q);
    ScriptedDialogs dialogs(false);
    q.dialogs = &dialogs;
    ASSERT_TRUE(q.processFlight());
    EXPECT_TRUE(dialogs.transcript.empty());
    ASSERT_NE(q.launchRec, nullptr);
    ASSERT_NE(q.burstRec, nullptr);
    const double launchSec = (q.launchRec->time - f.day) * SecondsPerDay;
    const double burstSec = (q.burstRec->time - f.day) * SecondsPerDay;
    const double trueBurst = f.groundSeconds + (f.burstAlt - f.stnAlt) / f.ascentRate;
    EXPECT_NEAR(launchSec, f.groundSeconds, 2);
    EXPECT_NEAR(burstSec, trueBurst, 3);
    const double truth = f.truthColumn();
    for (int h = 0; h < 4; ++h) {
        EXPECT_NEAR(q.o3Measured[h] / truth, 1.0, 0.01) << "ozonesonde " << h + 1;
        EXPECT_GT(q.o3Residual[h], 0);
        EXPECT_NEAR(q.o3TopMix[h], f.mixingRatio(f.burstAlt), 0.05);
    }
    // Winds: drift east at about 7 m/s, so wind from the west.
    ASSERT_GT(q.windRecs.size(), 100u);
    const WindRecord* w = q.windRecs.first()->next;
    EXPECT_NEAR(w->wd, 270, 1);
    EXPECT_NEAR(w->ws, 10.0 / 111000.0 * 111195 * std::cos(45 * 3.141592653589793 / 180), 0.2);
}

TEST(ProcessFlight, GpsInstalledButNoFixesKeepsEveryRecord)
{
    Q5 q;
    SynthFlight f;
    f.totalSeconds = 1800;
    f.sondes = 1;
    f.build(q);
    q.fltRecs.removeIf([](const RawRecord& r) { return r.isGps(); });
    const std::size_t count = q.fltRecs.size();
    ASSERT_TRUE(q.processFlight());
    EXPECT_EQ(q.fltRecs.size(), count);
    EXPECT_TRUE(q.windRecs.empty());
    for (const RawRecord& r : q.fltRecs) {
        if (r.isPtu()) {
            EXPECT_EQ(r.data.ptu.gpsAlt, Missing);
        } else if (r.isOzone()) {
            EXPECT_EQ(r.data.o3.gpsAlt, Missing);
            EXPECT_EQ(r.data.o3.gpsP, Missing);
        }
    }
    EXPECT_GT(q.o3Measured[0], 0); // the pressure sensor still gives the column
}

TEST(ProcessFlight, WithoutPressureSensorUsesGpsPressures)
{
    Q5 q;
    SynthFlight f;
    f.sondes = 2;
    f.build(q);
    q.rsPrInst = 0;
    q.lDetGps = 1;
    q.sfcUseStd = 1;
    ASSERT_TRUE(q.processFlight());
    ASSERT_NE(q.burstRec, nullptr);
    EXPECT_TRUE(q.burstRec->isGps());
    const double burstSec = (q.burstRec->time - f.day) * SecondsPerDay;
    EXPECT_NEAR(burstSec, f.groundSeconds + (f.burstAlt - f.stnAlt) / f.ascentRate, 3);
    // The GPS pressure profile follows the hypsometric equation, not the
    // synthetic scale height exactly: a few per cent.
    EXPECT_NEAR(q.o3Measured[0] / f.truthColumn(), 1.0, 0.05);
    for (const RawRecord& r : q.fltRecs)
        if (r.isPtu()) {
            EXPECT_EQ(r.data.ptu.hgt, Missing);
        }
}

} // namespace
} // namespace lumo
