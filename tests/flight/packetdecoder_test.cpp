#include <cstring>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "flight/packetdecoder.h"
#include "flight/rawline.h"
#include "flight/rawrecord.h"
#include "support/packets.h"

using namespace lumo;
using lumo::test::floatHex;
using lumo::test::hexBytes;

namespace {

// Decodes a hex packet the way the reader does: into a zeroed buffer.
bool decodeHex(const std::string& hex, RawRecord& rec)
{
    std::uint8_t bytes[MaxPacketBytes] = {};
    hexToBytes(hex, bytes);
    return decodePacket(bytes, hex.size() / 2, rec);
}

} // namespace

TEST(PacketDecoder, PtuScalesLittleEndianFields)
{
    RawRecord rec;
    // frame 0x1234, pressure 10 8A 01 = 100880, t FF38 = -200, u 0FA0 = 4000, battery 60.
    ASSERT_TRUE(decodeHex("00013412108A0138FFA00F3C", rec));
    EXPECT_EQ(rec.type, TypePtu);
    EXPECT_EQ(rec.data.ptu.frame, 0x1234);
    EXPECT_DOUBLE_EQ(rec.data.ptu.p, 1008.8);
    EXPECT_DOUBLE_EQ(rec.data.ptu.t, -2.0);
    EXPECT_DOUBLE_EQ(rec.data.ptu.u, 40.0);
    EXPECT_DOUBLE_EQ(rec.data.ptu.vbat, 6.0);
    EXPECT_EQ(rec.data.ptu.tint, 0.0);
    EXPECT_EQ(rec.packetSize, 12);
}

TEST(PacketDecoder, ExtendedPtuAddsSensorTemperatures)
{
    RawRecord rec;
    // tint 07D0 = 20.00, tpr FC18 = -10.00, tu FFFF = -0.01.
    ASSERT_TRUE(decodeHex("0004FFFF108A0138FFA00F3CD00718FCFFFF", rec));
    EXPECT_EQ(rec.type, TypePtuExt);
    EXPECT_EQ(rec.data.ptu.frame, 65535);
    EXPECT_DOUBLE_EQ(rec.data.ptu.tint, 20.0);
    EXPECT_DOUBLE_EQ(rec.data.ptu.tpr, -10.0);
    EXPECT_DOUBLE_EQ(rec.data.ptu.tu, -0.01);
}

TEST(PacketDecoder, PtuPressureLimits)
{
    RawRecord rec;
    EXPECT_FALSE(decodeHex(lumo::test::ptuPacket(0), rec));
    EXPECT_EQ(rec.type, TypeInvalid);
    EXPECT_FALSE(decodeHex(lumo::test::ptuPacket(99), rec)); // 0.99 hPa
    EXPECT_TRUE(decodeHex(lumo::test::ptuPacket(100), rec));
    EXPECT_TRUE(decodeHex(lumo::test::ptuPacket(120000), rec));
    EXPECT_FALSE(decodeHex(lumo::test::ptuPacket(120001), rec));
    // Extended packets are checked alike.
    EXPECT_FALSE(decodeHex("000401000000000000000000000000000000", rec));
}

TEST(PacketDecoder, GpsPositionAltitudeAndClock)
{
    RawRecord rec;
    ASSERT_TRUE(decodeHex("0002" + floatHex(52.25f) + floatHex(-4.5f) + "0000" + hexBytes({9, 23, 59, 58}), rec));
    EXPECT_EQ(rec.type, TypeGps);
    EXPECT_EQ(rec.data.gps.lat, 52.25);
    EXPECT_EQ(rec.data.gps.lon, -4.5);
    EXPECT_EQ(rec.data.gps.alt, -5000.0);
    EXPECT_EQ(rec.data.gps.nSats, 9);
    EXPECT_EQ(rec.data.gps.gpsHour, 23);
    EXPECT_EQ(rec.data.gps.gpsMin, 59);
    EXPECT_EQ(rec.data.gps.gpsSec, 58);
    EXPECT_EQ(rec.data.gps.ewv, 0.0);

    ASSERT_TRUE(decodeHex("0002" + floatHex(1.0f) + floatHex(2.0f) + "FFFF00000000", rec));
    EXPECT_EQ(rec.data.gps.alt, 60535.0);
    // Stored as the single-precision value widened.
    ASSERT_TRUE(decodeHex("0002" + floatHex(0.1f) + floatHex(2.0f) + "FFFF00000000", rec));
    EXPECT_EQ(rec.data.gps.lat, static_cast<double>(0.1f));
}

TEST(PacketDecoder, GpsCoordinateLimits)
{
    RawRecord rec;
    const std::string tail = "881300000000";
    EXPECT_FALSE(decodeHex("0002" + floatHex(91.0f) + floatHex(0.0f) + tail, rec));
    EXPECT_TRUE(decodeHex("0002" + floatHex(90.0f) + floatHex(-180.0f) + tail, rec));
    EXPECT_TRUE(decodeHex("0002" + floatHex(-90.0f) + floatHex(180.0f) + tail, rec));
    EXPECT_FALSE(decodeHex("0002" + floatHex(0.0f) + floatHex(180.5f) + tail, rec));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(decodeHex("0002" + floatHex(nan) + floatHex(0.0f) + tail, rec));
    EXPECT_FALSE(decodeHex("0005" + floatHex(0.0f) + floatHex(nan) + tail, rec));
    EXPECT_EQ(rec.type, TypeInvalid);
}

TEST(PacketDecoder, GpsVelocitiesAreLimited)
{
    RawRecord rec;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string hex = "0005" + floatHex(10.0f) + floatHex(20.0f) + "E803" + "06" + floatHex(2000.0f) +
                            floatHex(-1e30f) + floatHex(nan) + hexBytes({1, 2, 3});
    ASSERT_TRUE(decodeHex(hex, rec));
    EXPECT_EQ(rec.type, TypeGpsVel);
    EXPECT_EQ(rec.data.gps.alt, -4000.0);
    EXPECT_EQ(rec.data.gps.nSats, 6);
    EXPECT_EQ(rec.data.gps.ewv, 999.9990234375);
    EXPECT_EQ(rec.data.gps.nsv, -999.9990234375);
    EXPECT_EQ(rec.data.gps.udv, -999.9990234375);
    EXPECT_EQ(rec.data.gps.gpsHour, 1);
    EXPECT_EQ(rec.data.gps.gpsMin, 2);
    EXPECT_EQ(rec.data.gps.gpsSec, 3);

    // The single-precision limit itself lies above 999.999 and stays as it is;
    // values inside the limits pass unchanged.
    ASSERT_TRUE(decodeHex("0005" + floatHex(0.0f) + floatHex(0.0f) + "0000" + "00" + floatHex(999.999f) +
                              floatHex(-12.5f) + floatHex(3.25f) + "000000",
                          rec));
    EXPECT_EQ(rec.data.gps.ewv, 999.9990234375);
    EXPECT_EQ(rec.data.gps.nsv, -12.5);
    EXPECT_EQ(rec.data.gps.udv, 3.25);
}

TEST(PacketDecoder, OzonesondeFieldsAreBigEndian)
{
    RawRecord rec;
    ASSERT_TRUE(decodeHex("0003000102" "01F4" "FF38" "5A" "5F", rec));
    EXPECT_EQ(rec.type, TypeAux);
    EXPECT_EQ(rec.kind, KindOzonesonde);
    EXPECT_TRUE(rec.isOzone());
    EXPECT_EQ(rec.data.o3.o3Num, 2);
    EXPECT_DOUBLE_EQ(rec.data.o3.ic, 0.5);
    EXPECT_DOUBLE_EQ(rec.data.o3.tp, -2.0);
    EXPECT_EQ(rec.data.o3.ip, 90.0);
    EXPECT_DOUBLE_EQ(rec.data.o3.o3Bat, 9.5);
    EXPECT_EQ(rec.o3Slot(), 1);

    // A chain number outside 1..4 is kept as received.
    ASSERT_TRUE(decodeHex("00030001C8FFFF7FFF0000", rec));
    EXPECT_EQ(rec.data.o3.o3Num, 200);
    EXPECT_EQ(rec.o3Slot(), -1);
    EXPECT_DOUBLE_EQ(rec.data.o3.ic, 65.535);
    EXPECT_DOUBLE_EQ(rec.data.o3.tp, 327.67);
}

TEST(PacketDecoder, OtherInstrumentKeepsWholePacket)
{
    RawRecord rec;
    ASSERT_TRUE(decodeHex("AB03CD02112233", rec));
    EXPECT_EQ(rec.type, TypeAux);
    EXPECT_EQ(rec.kind, 2);
    EXPECT_FALSE(rec.isOzone());
    EXPECT_EQ(rec.packetSize, 7);
    const std::uint8_t expected[] = {0xAB, 0x03, 0xCD, 0x02, 0x11, 0x22, 0x33, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(rec.data.bytes[i], expected[i]) << i;
}

TEST(PacketDecoder, UnknownTypesAreNotDecoded)
{
    RawRecord rec;
    EXPECT_FALSE(decodeHex("0000112233", rec));
    EXPECT_FALSE(decodeHex("0006112233", rec));
    EXPECT_FALSE(decodeHex("00FF112233", rec));
    EXPECT_EQ(rec.type, TypeInvalid);
}

TEST(PacketDecoder, ShortPacketReadsZeroBeyondItsEnd)
{
    RawRecord rec;
    // Ends after the first pressure byte: 0x000010 = 16 -> 0.16 hPa -> invalid.
    EXPECT_FALSE(decodeHex("0001000010", rec));
    // Pressure complete, temperature and the rest missing.
    ASSERT_TRUE(decodeHex("00010100102701", rec)); // 0x012710 = 75536 -> 755.36
    EXPECT_DOUBLE_EQ(rec.data.ptu.p, 755.36);
    EXPECT_EQ(rec.data.ptu.u, 0.0);
    EXPECT_EQ(rec.data.ptu.vbat, 0.0);
    // An ozonesonde packet cut after the chain number.
    ASSERT_TRUE(decodeHex("0003000104", rec));
    EXPECT_EQ(rec.data.o3.o3Num, 4);
    EXPECT_EQ(rec.data.o3.ic, 0.0);
}

TEST(HexToBytes, PairsOddDigitAndInvalidPairs)
{
    std::uint8_t b[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    hexToBytes("0aFf7", b); // odd last digit ignored
    EXPECT_EQ(b[0], 0x0A);
    EXPECT_EQ(b[1], 0xFF);
    EXPECT_EQ(b[2], 9);
    hexToBytes("G1 2zz34", b); // pairs "G1", " 2", "zz" are not hex
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(b[2], 0);
    EXPECT_EQ(b[3], 0x34);
}

// Eight characters at a time take a word-wide path: every pair of characters,
// in each place of a word and beside a byte with its high bit set, must give
// what the pair gives alone.
TEST(HexToBytes, WordPathAgreesWithPairByPair)
{
    const auto single = [](unsigned char hi, unsigned char lo) {
        std::uint8_t b[1] = {7};
        const char pair[2] = {static_cast<char>(hi), static_cast<char>(lo)};
        hexToBytes(std::string_view(pair, 2), b);
        return b[0];
    };
    int mismatches = 0;
    for (int hi = 0; hi < 256; ++hi)
        for (int lo = 0; lo < 256; ++lo)
            for (int at = 0; at < 4; ++at) {
                char text[10] = {'\xFF', '\x80', 'f', 'F', '9', '0', '\xE6', 'a', '1', '2'};
                text[2 * at] = static_cast<char>(hi);
                text[2 * at + 1] = static_cast<char>(lo);
                std::uint8_t b[5] = {};
                hexToBytes(std::string_view(text, 10), b);
                std::uint8_t expected[5];
                for (int k = 0; k < 5; ++k)
                    expected[k] = single(static_cast<unsigned char>(text[2 * k]), static_cast<unsigned char>(text[2 * k + 1]));
                mismatches += std::memcmp(b, expected, 5) != 0;
            }
    EXPECT_EQ(mismatches, 0);
}

TEST(RawLineFields, SeparatorsAreRunsOfCommasAndBlanks)
{
    double t = 0;
    std::string_view packet;
    ASSERT_TRUE(parseRawLine("2024/05/07,, 12:00:00 ,\t0A01ff ,junk", t, packet));
    EXPECT_EQ(packet, "0A01ff");
    double day = 0;
    ASSERT_TRUE(parseRawDate("2024/05/07", day));
    EXPECT_EQ(t, day + 0.5);
    EXPECT_EQ(day, 45419.0);

    ASSERT_TRUE(parseRawLine("2024/05/07 12:00:00 \r", t, packet));
    EXPECT_TRUE(packet.empty());
    ASSERT_TRUE(parseRawLine("2024/05/07,12:00:00,", t, packet));
    EXPECT_TRUE(packet.empty());
}

TEST(RawLineFields, TimeMustBeFollowedByCommaOrBlank)
{
    double t = 0;
    std::string_view packet;
    EXPECT_FALSE(parseRawLine("2024/05/07 12:00:00", t, packet));
    EXPECT_FALSE(parseRawLine("2024/05/07 12:00:00\r", t, packet));
    EXPECT_FALSE(parseRawLine("2024/05/07", t, packet));
    EXPECT_FALSE(parseRawLine("", t, packet));
    EXPECT_FALSE(parseRawLine(" 2024/05/07 12:00:00 0001", t, packet));
    EXPECT_FALSE(parseRawLine("2024-05-07 12:00:00 0001", t, packet));
    EXPECT_FALSE(parseRawLine("2024/02/30 12:00:00 0001", t, packet));
    EXPECT_FALSE(parseRawLine("2024/05/07 24:00:00 0001", t, packet));
    EXPECT_FALSE(parseRawLine("2024/05/07 12:60 0001", t, packet));
}

// Station-written stamps take a short road through the parser; the same
// line with its fields split otherwise takes the general one. Both must agree,
// on valid and invalid stamps, with the day cache carried from line to line.
TEST(RawLineFields, StationStampsReadAsTheGeneralSplitDoes)
{
    const char* stamps[] = {"2024/05/07 13:02:11.250", "2024/05/07 23:59:59.999", "2024/05/08 00:00:00.000",
                            "2024/02/30 12:00:00.000", "2024/05/07 24:00:00.000", "2024/05/07 12:60:00.000",
                            "1899/12/29 06:00:00.500", "2024/05/07 13:02:11.25x", "2024/05/08 01:02:03.004",
                            "2024/05/07 13:0\xB2:11.250", "2024/05/07 13:\xFF" "2:11.250", "2024:05/07 13:02:11.250",
                            "2024/05/07 13:02/11.250", "2024/05/07 13:02:11:250", "2024/05/07 1\x3A:02:11.250"};
    RawDayCache cache;
    for (const char* stamp : stamps) {
        const std::string_view text(stamp);
        const std::string fast = std::string(text) + " 0A01FF\r";
        const std::string general =
            std::string(text.substr(0, 10)) + ", " + std::string(text.substr(11)) + " 0A01FF\r";
        double tFast = -1, tGeneral = -2, tUncached = -3;
        std::string_view pFast, pGeneral, pUncached;
        const bool okFast = parseRawLine(fast, tFast, pFast, &cache);
        const bool okUncached = parseRawLine(fast, tUncached, pUncached);
        EXPECT_EQ(parseRawLine(general, tGeneral, pGeneral), okFast) << stamp;
        EXPECT_EQ(okUncached, okFast) << stamp;
        if (okFast) {
            EXPECT_EQ(tFast, tGeneral) << stamp;
            EXPECT_EQ(tFast, tUncached) << stamp;
            EXPECT_EQ(pFast, "0A01FF");
        }
    }
}

TEST(RawLineFields, PacketEndsAtTheFirstSeparatorOrControlCharacter)
{
    const std::string hex = "000102030405060708090A0B0C0D0E0F10111213";
    for (std::size_t len = 1; len <= 20; ++len)
        for (const char end : {',', ' ', '\t', '\r', '\n', '\v', '\f'}) {
            const std::string line = "2024/05/07 13:02:11.250 " + hex.substr(0, len) + end + "FFFF!";
            double t = 0;
            std::string_view packet;
            ASSERT_TRUE(parseRawLine(line, t, packet));
            EXPECT_EQ(packet, hex.substr(0, len)) << static_cast<int>(end);
        }
    double t = 0;
    std::string_view packet;
    ASSERT_TRUE(parseRawLine("2024/05/07 13:02:11.250 0001#!02030405060708\x01X", t, packet));
    EXPECT_EQ(packet, "0001#!02030405060708\x01X"); // low characters that end nothing stay
}

TEST(RawLineFields, TimeForms)
{
    const auto at = [](int h, int m, int s, int ms) { return (h * 3600000.0 + m * 60000.0 + s * 1000.0 + ms) / 86400000.0; };
    double f = -1;
    ASSERT_TRUE(parseRawTime("12:34", f));
    EXPECT_EQ(f, at(12, 34, 0, 0));
    ASSERT_TRUE(parseRawTime("7:05:09", f));
    EXPECT_EQ(f, at(7, 5, 9, 0));
    ASSERT_TRUE(parseRawTime("23:59:59.999", f));
    EXPECT_EQ(f, at(23, 59, 59, 999));
    ASSERT_TRUE(parseRawTime("00:00:01.5", f)); // a count of milliseconds
    EXPECT_EQ(f, at(0, 0, 1, 5));
    ASSERT_TRUE(parseRawTime("01:02:03PM", f));
    EXPECT_EQ(f, at(13, 2, 3, 0));
    ASSERT_TRUE(parseRawTime("01:02:03.123pm", f));
    EXPECT_EQ(f, at(13, 2, 3, 123));
    ASSERT_TRUE(parseRawTime("12:15:00am", f));
    EXPECT_EQ(f, at(0, 15, 0, 0));
    ASSERT_TRUE(parseRawTime("12:15:00Pm", f));
    EXPECT_EQ(f, at(12, 15, 0, 0));
    ASSERT_TRUE(parseRawTime("11:59AM", f));
    EXPECT_EQ(f, at(11, 59, 0, 0));

    EXPECT_FALSE(parseRawTime("13:00:00PM", f));
    EXPECT_FALSE(parseRawTime("01:02:03XM", f));
    EXPECT_FALSE(parseRawTime("01:02:03P", f));
    EXPECT_FALSE(parseRawTime("01:02:03.", f));
    EXPECT_FALSE(parseRawTime("01:02:03.1234", f));
    EXPECT_FALSE(parseRawTime("01:02:", f));
    EXPECT_FALSE(parseRawTime("0102", f));
    EXPECT_FALSE(parseRawTime("", f));
}
