#include <gtest/gtest.h>

#include <vector>

#include "flight/q5.h"
#include "flight/textfield.h"

using namespace lumo;

namespace {

std::vector<double> times(const RecordList<RawRecord>& list)
{
    std::vector<double> out;
    for (const RawRecord& r : list)
        out.push_back(r.time);
    // The backward links must mirror the forward ones.
    std::vector<double> back;
    for (RawRecord* r = list.last(); r; r = r->prev)
        back.insert(back.begin(), r->time);
    EXPECT_EQ(out, back);
    return out;
}

RecordList<RawRecord>& fill(RecordList<RawRecord>& list, int n)
{
    for (int i = 0; i < n; ++i)
        list.append()->time = i;
    return list;
}

} // namespace

TEST(RecordList, RemovalRelinksHeadMiddleAndTail)
{
    RecordList<RawRecord> list;
    fill(list, 5);
    RawRecord* second = list.first()->next;
    RawRecord* fourth = second->next->next;

    list.remove(list.first());
    EXPECT_EQ(times(list), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(list.first(), second);
    EXPECT_EQ(second->prev, nullptr);

    RawRecord* after = list.remove(second->next);
    EXPECT_EQ(after, fourth); // iteration continues at the follower
    list.remove(list.last());
    EXPECT_EQ(times(list), (std::vector<double>{1, 3}));
    EXPECT_EQ(list.last(), fourth);
    EXPECT_EQ(fourth->next, nullptr);
    EXPECT_EQ(list.size(), 2u);
}

TEST(RecordList, RemoveIfKeepsOrderAndAddresses)
{
    RecordList<RawRecord> list;
    fill(list, 6);
    RawRecord* two = list.first()->next->next;
    EXPECT_EQ(list.removeIf([](const RawRecord& r) { return static_cast<int>(r.time) % 3 == 0; }), 2u);
    EXPECT_EQ(times(list), (std::vector<double>{1, 2, 4, 5}));
    EXPECT_EQ(two->next->time, 4); // a kept record's address is still valid

    list.removeIf([](const RawRecord&) { return true; });
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.first(), nullptr);
    EXPECT_EQ(list.last(), nullptr);
    list.append()->time = 9; // the emptied list is usable again
    EXPECT_EQ(times(list), (std::vector<double>{9}));
}

TEST(RecordList, RecordsLieInMemoryInAppendOrderAndStayPut)
{
    RecordList<RawRecord> list;
    fill(list, 50000); // many blocks
    std::vector<RawRecord*> before;
    for (RawRecord& r : list)
        before.push_back(&r);
    std::size_t forward = 0;
    for (std::size_t i = 1; i < before.size(); ++i)
        forward += before[i] == before[i - 1] + 1;
    // Only a step from one block to the next may leave the sequence.
    EXPECT_GT(forward, before.size() - 40);
    EXPECT_EQ(before[49999]->time, 49999);
    fill(list, 20000);
    EXPECT_EQ(list.first(), before[0]);
    EXPECT_EQ(before[49999]->next->time, 0); // the first of the second fill
    EXPECT_EQ(list.size(), 70000u);
}

TEST(RecordList, RemovedSlotIsZeroedWhenReused)
{
    RecordList<RawRecord> list;
    fill(list, 3);
    RawRecord* middle = list.first()->next;
    middle->type = TypePtu;
    middle->data.ptu.p = 900;
    list.remove(middle);
    RawRecord* again = list.append();
    EXPECT_EQ(again->type, TypeInvalid);
    EXPECT_EQ(again->data.ptu.p, 0);
    EXPECT_EQ(times(list), (std::vector<double>{0, 2, 0}));
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(times(fill(list, 2)), (std::vector<double>{0, 1}));
}

TEST(Q5Model, ResetReleasesRecordsButKeepsConfigurationSettingsAndResults)
{
    Q5 q5;
    EXPECT_FALSE(q5.isLoaded());
    q5.Reset(); // harmless on an empty object
    q5.stnAlt = 123;
    q5.lpFilter = 10;
    q5.o3Count = 2;
    q5.o3Measured[1] = 250;
    q5.hasPtuExt = q5.hasGpsVel = 1;
    fill(q5.sfcRecs, 2);
    fill(q5.fltRecs, 3);
    q5.launchRec = q5.fltRecs.first();
    q5.windRecs.append();
    EXPECT_TRUE(q5.isLoaded());

    q5.Reset();
    EXPECT_TRUE(q5.sfcRecs.empty() && q5.fltRecs.empty() && q5.windRecs.empty());
    EXPECT_EQ(q5.launchRec, nullptr);
    EXPECT_EQ(q5.hasPtuExt, 0);
    EXPECT_EQ(q5.hasGpsVel, 0);
    EXPECT_EQ(q5.stnAlt, 123);
    EXPECT_EQ(q5.lpFilter, 10);
    EXPECT_EQ(q5.o3Count, 2u);
    EXPECT_EQ(q5.o3Measured[1], 250);
}

TEST(Q5Model, ClearConfigLeavesSettingsAlone)
{
    Q5 q5;
    copyText(q5.stnName, "Payerne");
    q5.bkgCount = 3;
    copyText(q5.o3Sonde[2].sn, "Z123");
    q5.lDetVal = 4.5;
    q5.clearConfig();
    EXPECT_STREQ(q5.stnName, "");
    EXPECT_EQ(q5.bkgCount, 0);
    EXPECT_STREQ(q5.o3Sonde[2].sn, "");
    EXPECT_EQ(q5.lDetVal, 4.5);
}

TEST(TextField, CutsToCapacityLessTerminator)
{
    char sn[21];
    copyText(sn, "12345678901234567890");
    EXPECT_STREQ(sn, "12345678901234567890");
    copyText(sn, "123456789012345678901234");
    EXPECT_STREQ(sn, "12345678901234567890");
    char name[41];
    copyText(name, std::string(45, 'x'));
    EXPECT_EQ(std::string(name), std::string(40, 'x'));
    char file[255];
    copyText(file, std::string(254, 'f'));
    EXPECT_EQ(std::string(file).size(), 254u);
}
