#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "flight/q5.h"
#include "support/packets.h"
#include "support/testfiles.h"

using namespace lumo;
using namespace lumo::test;

namespace {

const std::string Sep = "2024/05/07 11:59:59 \n";

struct Loaded {
    bool ok = false;
    std::vector<double> sfc, flt;
};

std::vector<double> timesOf(const RecordList<RawRecord>& list)
{
    std::vector<double> out;
    const RawRecord* prev = nullptr;
    for (const RawRecord& r : list) {
        EXPECT_EQ(r.prev, prev);
        EXPECT_NE(r.type, TypeInvalid);
        prev = &r;
        out.push_back(r.time);
    }
    EXPECT_EQ(list.last(), prev);
    EXPECT_EQ(out.size(), list.size());
    return out;
}

// Seconds after 12:00 on the test day, as the reader stores them.
double at(int seconds)
{
    return 45419.0 + (12 * 3600000.0 + seconds * 1000.0) / 86400000.0;
}

class ReadRawTest : public ::testing::Test {
protected:
    Loaded load(const std::string& content)
    {
        Loaded l;
        l.ok = q5.ReadRaw(dir.write("flight.raw", content));
        l.sfc = timesOf(q5.sfcRecs);
        l.flt = timesOf(q5.fltRecs);
        return l;
    }

    TempDir dir;
    Q5 q5;
};

} // namespace

TEST_F(ReadRawTest, SeparatorSplitsSurfaceAndFlight)
{
    const Loaded l = load(rawLine(0, ptuPacket(100000)) + rawLine(1, gpsPacket(45, 7)) + Sep +
                          rawLine(2, ptuPacket(99000)) + rawLine(3, ozonePacket(1)) + Sep + rawLine(4, ptuPacket(98000)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc, (std::vector<double>{at(0), at(1)}));
    // A second separator keeps the flight list.
    EXPECT_EQ(l.flt, (std::vector<double>{at(2), at(3), at(4)}));
    EXPECT_TRUE(q5.isLoaded());
    EXPECT_EQ(q5.fltRecs.first()->type, TypePtu);
    EXPECT_DOUBLE_EQ(q5.fltRecs.first()->data.ptu.p, 990.0);
}

TEST_F(ReadRawTest, WithoutSeparatorEverythingIsSurface)
{
    Loaded l = load(rawLine(0, ptuPacket(100000)) + rawLine(1, ptuPacket(100000)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc.size(), 2u);
    EXPECT_TRUE(l.flt.empty());
    EXPECT_FALSE(q5.isLoaded());

    l = load(Sep + rawLine(0, ptuPacket(100000)) + rawLine(1, ptuPacket(100000)));
    ASSERT_TRUE(l.ok);
    EXPECT_TRUE(l.sfc.empty());
    EXPECT_EQ(l.flt.size(), 2u);
}

TEST_F(ReadRawTest, SeparatorFormsAndFailures)
{
    // A packet of one byte, or a comma after the time, is a separator too.
    Loaded l = load(rawLine(0, ptuPacket(100000)) + "2024/05/07 12:00:01 0A\n" + rawLine(2, ptuPacket(100000)) +
                    "2024/05/07,12:00:03,\n" + rawLine(4, ptuPacket(100000)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc.size(), 1u);
    EXPECT_EQ(l.flt.size(), 2u);
    // Nothing after the time: the time field ends with the line end.
    l = load(rawLine(0, ptuPacket(100000)) + "2024/05/07 12:00:01\n" + rawLine(2, ptuPacket(100000)));
    EXPECT_FALSE(l.ok);
    l = load(rawLine(0, ptuPacket(100000)) + "2024/05/07 12:00:01\r\n" + rawLine(2, ptuPacket(100000)));
    EXPECT_FALSE(l.ok);
    // The separator's date must still be valid.
    l = load(rawLine(0, ptuPacket(100000)) + "2024/13/07 12:00:01 \n" + rawLine(2, ptuPacket(100000)));
    EXPECT_FALSE(l.ok);
}

TEST_F(ReadRawTest, DuplicateTimesAreDropped)
{
    const Loaded l = load(rawLine(0, ptuPacket(100000, 1)) + rawLine(0, ptuPacket(100000, 2)) +
                          rawLine(0, ptuPacket(100000, 3)) + rawLine(1, ptuPacket(100000, 4)) +
                          rawLine(0, ptuPacket(100000, 5)) + Sep);
    ASSERT_TRUE(l.ok);
    // Only a repeat of the line just before is a duplicate; going back in time is not.
    EXPECT_EQ(l.sfc, (std::vector<double>{at(0), at(1), at(0)}));
    std::vector<int> frames;
    for (const RawRecord& r : q5.sfcRecs)
        frames.push_back(r.data.ptu.frame);
    EXPECT_EQ(frames, (std::vector<int>{1, 4, 5}));
}

TEST_F(ReadRawTest, DroppedRecordsLeaveListsLinked)
{
    // Pressure 0 at the head of both lists, invalid GPS and unknown types inside.
    const Loaded l = load(rawLine(0, ptuPacket(0)) + rawLine(1, ptuPacket(100000)) + rawLine(2, gpsPacket(91, 0)) +
                          rawLine(3, gpsPacket(90, -180)) + Sep + rawLine(5, ptuPacket(0)) + rawLine(6, "0006AABB") +
                          rawLine(7, "0000AABB") + rawLine(8, ptuPacket(50000)) + rawLine(9, ptuPacket(0)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc, (std::vector<double>{at(1), at(3)}));
    EXPECT_EQ(l.flt, (std::vector<double>{at(8)}));
    EXPECT_EQ(q5.fltRecs.first(), q5.fltRecs.last());
    EXPECT_EQ(q5.fltRecs.first()->prev, nullptr);
    EXPECT_EQ(q5.fltRecs.first()->next, nullptr);
}

TEST_F(ReadRawTest, PacketKindFlagsAndOzonesondeCount)
{
    // The extended PTU packet is invalid (pressure 0) but still sets the flag.
    const Loaded l = load(rawLine(0, "000401000000000000000000000000000000") + rawLine(1, ozonePacket(3)) + Sep +
                          rawLine(2, ptuPacket(100000)) + rawLine(3, ozonePacket(1)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(q5.hasPtuExt, 1);
    EXPECT_EQ(q5.hasGpsVel, 0);
    EXPECT_EQ(q5.o3Count, 3u);

    q5.o3Count = 9;
    ASSERT_TRUE(load(rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, "0005" + floatHex(1) + floatHex(2)) +
                     rawLine(2, ozonePacket(7)))
                    .ok);
    EXPECT_EQ(q5.hasPtuExt, 0);
    EXPECT_EQ(q5.hasGpsVel, 1);
    // Counted afresh; a chain number beyond 4 is taken as received.
    EXPECT_EQ(q5.o3Count, 7u);
    EXPECT_EQ(q5.fltRecs.last()->data.o3.o3Num, 7);
}

TEST_F(ReadRawTest, PacketLengthLimit)
{
    const std::string longest = "0003000200" + std::string(190, 'A') + "F"; // 201 digits: 100 bytes
    Loaded l = load(rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, longest));
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.flt.size(), 1u);
    EXPECT_EQ(q5.fltRecs.first()->packetSize, 100);
    EXPECT_EQ(q5.fltRecs.first()->data.bytes[99], 0xAA);

    l = load(rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, longest + "F"));
    EXPECT_FALSE(l.ok);
    EXPECT_TRUE(l.sfc.empty());
}

TEST_F(ReadRawTest, ShortPacketHoldsNoBytesFromEarlierLines)
{
    // A long packet first, then one that stops inside the temperature field.
    const Loaded l = load(rawLine(0, "0004FFFF108A01FFFFFFFF" + std::string(60, 'F')) + Sep +
                          rawLine(1, "00010100108A01"));
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.flt.size(), 1u);
    const PtuData& ptu = q5.fltRecs.first()->data.ptu;
    EXPECT_EQ(ptu.frame, 1);
    EXPECT_DOUBLE_EQ(ptu.p, 1008.8);
    EXPECT_EQ(ptu.t, 0.0);
    EXPECT_EQ(ptu.u, 0.0);
    EXPECT_EQ(ptu.vbat, 0.0);
}

TEST_F(ReadRawTest, LineEndsAndLastLine)
{
    // CR LF line ends, and a last line without a line end.
    Loaded l = load(rawLine(0, ptuPacket(100000), "\r\n") + "2024/05/07 11:59:59 \r\n" +
                    rawLine(1, ptuPacket(100000), "\r\n") + rawLine(2, ptuPacket(100000), ""));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.flt, (std::vector<double>{at(1), at(2)}));
    // A UTF-8 byte-order mark before the first line is not part of its date.
    l = load("\xEF\xBB\xBF" + rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, ptuPacket(100000)));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc, (std::vector<double>{at(0)}));
    EXPECT_FALSE(load(rawLine(0, ptuPacket(100000)) + "\xEF\xBB\xBF" + rawLine(1, ptuPacket(100000))).ok);
    // Trailing blanks after the packet are not part of it.
    l = load(rawLine(0, ptuPacket(100000) + "   \t", "\r\n") + Sep);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc.size(), 1u);
}

TEST_F(ReadRawTest, CutLastLineIsDropped)
{
    const std::string good = rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, ptuPacket(100000));
    // Writing stopped inside the date, inside the time or right after it.
    for (const char* cut : {"2024/05/0", "2024/05/07 12:0", "2024/05/07 12:00:02", "2024/05/07 12:00:02 "}) {
        const Loaded l = load(good + cut);
        EXPECT_TRUE(l.ok) << cut;
        EXPECT_EQ(l.flt, (std::vector<double>{at(1)})) << cut;
    }
    // Inside the packet: decoded as far as it goes.
    const Loaded l = load(good + rawLine(2, ptuPacket(100000)).substr(0, 34));
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.flt, (std::vector<double>{at(1), at(2)}));
    // The same lines with a line end are not cut short, they are bad.
    EXPECT_FALSE(load(good + "2024/05/07 12:00:02\n").ok);
    EXPECT_FALSE(load(good + "2024/05/0\n").ok);
    // A 499-character piece of a longer line is not a cut line either, nor
    // is a file of one line without a line end.
    EXPECT_FALSE(load(good + std::string(600, 'x')).ok);
    EXPECT_FALSE(load("2024/05/0").ok);
    EXPECT_FALSE(load("hello").ok);
}

TEST_F(ReadRawTest, MillisecondsAndAmPmTimesAreKept)
{
    const Loaded l = load("2024/05/07 01:02:03.250PM " + ptuPacket(100000) + "\n" + Sep +
                          "2024/05/07 12:00:00.5am " + ptuPacket(100000) + "\n");
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc.front(), 45419.0 + (13 * 3600000.0 + 2 * 60000.0 + 3250.0) / 86400000.0);
    EXPECT_EQ(l.flt.front(), 45419.0 + 5.0 / 86400000.0);
}

TEST_F(ReadRawTest, BadLinesFailWherever)
{
    const std::string good = rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, ptuPacket(100000));
    EXPECT_FALSE(load(good + "\n" + rawLine(2, ptuPacket(100000))).ok);              // blank line
    EXPECT_FALSE(load("\n" + good).ok);
    EXPECT_FALSE(load(good + "# comment\n").ok);
    EXPECT_FALSE(load(good + "2024/05/07 12:00:09.1000 0001\n").ok);
    // A failed read releases what it had read and the flags.
    EXPECT_FALSE(load(rawLine(0, "00040100108A01") + good + "junk\n").ok);
    EXPECT_FALSE(q5.isLoaded());
    EXPECT_TRUE(q5.sfcRecs.empty());
    EXPECT_EQ(q5.hasPtuExt, 0);
}

TEST_F(ReadRawTest, LongLinesAreReadIn499CharacterPieces)
{
    // The first piece ends in blanks; what follows is read as a line of its own.
    std::string first = rawLine(0, ptuPacket(100000), "");
    first.resize(499, ' ');
    Loaded l = load(first + rawLine(1, ptuPacket(100000)) + Sep);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc, (std::vector<double>{at(0), at(1)}));
    // A CR LF after 498 characters is a line end as usual.
    first.resize(498);
    l = load(first + "\r\n" + Sep);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc.size(), 1u);
    // A line of exactly 499 characters leaves its line end as an empty next line.
    first.resize(499, ' ');
    EXPECT_FALSE(load(first + "\n" + Sep).ok);
}

TEST_F(ReadRawTest, NulLinesAndJunkNeverCrash)
{
    // A line beginning with NUL reads as nothing; elsewhere NUL ends the line.
    Loaded l = load(std::string("\0\0garbage\n", 10) + rawLine(0, ptuPacket(100000)) +
                    std::string("2024/05/07 12:00:01 ") + ptuPacket(100000) + std::string("\0FFFF\n", 6) + Sep);
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.sfc.size(), 2u);

    std::string junk;
    for (int i = 0; i < 20000; ++i)
        junk += static_cast<char>((i * 7919 + 13) % 256);
    EXPECT_FALSE(load(junk).ok);
    EXPECT_FALSE(load(std::string(100000, 'x')).ok);
    EXPECT_FALSE(load(std::string(5000, '\r')).ok);
    EXPECT_FALSE(load(rawLine(0, ptuPacket(100000)) + "2024/05/07 12:00:01 " + std::string(5000, 'A') + "\n").ok);
    EXPECT_TRUE(load("").ok); // an empty file holds no lines and no error
    EXPECT_TRUE(q5.sfcRecs.empty());
}

TEST_F(ReadRawTest, MissingFileOrDirectoryFails)
{
    ASSERT_TRUE(load(rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, ptuPacket(100000))).ok);
    EXPECT_FALSE(q5.ReadRaw(dir.file("absent.raw")));
    EXPECT_TRUE(q5.sfcRecs.empty());
    EXPECT_TRUE(q5.fltRecs.empty());
    EXPECT_FALSE(q5.ReadRaw(dir.path().string()));
}

TEST_F(ReadRawTest, EndlessDeviceFailsWithinSeconds)
{
    // A link to /dev/zero: NUL lines for ever, from a file of size 0.
    const std::filesystem::path link = dir.path() / "zero.raw";
    std::filesystem::create_symlink("/dev/zero", link);
    std::promise<bool> done;
    std::future<bool> result = done.get_future();
    std::thread([&q = q5, path = link.string(), p = std::move(done)]() mutable { p.set_value(q.ReadRaw(path)); })
        .detach();
    if (result.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        std::fprintf(stderr, "ReadRaw of a link to /dev/zero did not return within 20 s\n");
        std::_Exit(1); // the reader still spins: end the test program
    }
    EXPECT_FALSE(result.get());
    EXPECT_TRUE(q5.sfcRecs.empty());
}

TEST_F(ReadRawTest, KeepsConfigurationAndSettings)
{
    q5.stnAlt = 123;
    q5.lpFilter = 10;
    q5.o3Measured[0] = 300;
    ASSERT_TRUE(load(rawLine(0, ptuPacket(100000)) + Sep + rawLine(1, ptuPacket(100000))).ok);
    EXPECT_EQ(q5.stnAlt, 123);
    EXPECT_EQ(q5.lpFilter, 10);
    EXPECT_EQ(q5.o3Measured[0], 300);
}

// A raw file whose logger stopped in the middle of the last line's time used
// to fail as a whole; the cut line is dropped. A bad line that ends with a
// line end still stops the read.
TEST(RawFileCutLastLine, DropsTheCutLineOnly)
{
    const test::TempDir dir;
    const std::string good = "2024/05/07 12:00:00 00010100A08601D007A00F3C\n"
                             "2024/05/07 12:00:01 00010200A08601D007A00F3C\n";
    Q5 q;
    EXPECT_TRUE(q.ReadRaw(dir.write("cut.raw", good + "2024/05/07 12:0")));
    EXPECT_EQ(q.sfcRecs.size(), 2u);
    EXPECT_TRUE(q.ReadRaw(dir.write("cut2.raw", good + "2024/05/07 12:00:02")));
    EXPECT_EQ(q.sfcRecs.size(), 2u);
    EXPECT_FALSE(q.ReadRaw(dir.write("bad.raw", good + "2024/05/07 12:0\n")));
    EXPECT_FALSE(q.ReadRaw(dir.write("mid.raw", "2024/05/07 12:0\n" + good)));
}
