// Packets written by the encoder and decoded by the raw-file reader give
// back the encoded values within each field's resolution.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flight/q5.h"
#include "packetencoder.h"
#include "rawfilewriter.h"
#include "support/testfiles.h"

namespace lumo::test {
namespace {

using namespace lumo::sim;

std::string hex(const Packet& p)
{
    std::string s;
    appendHex(s, p);
    return s;
}

// Writes the packets as the flight part of a raw file and reads it back.
bool readBack(const std::vector<Packet>& packets, Q5& q5, TempDir& dir)
{
    const StationClock clock(2026, 1, 31, 23, 59, 58);
    RawFileWriter w(clock);
    w.addSeparator(0);
    for (std::size_t i = 0; i < packets.size(); ++i)
        w.add(static_cast<long long>(i + 1) * 250, packets[i]);
    const std::string path = dir.file("packets.raw");
    return w.save(path) && q5.ReadRaw(path);
}

TEST(PacketEncoding, PtuValuesDecodeWithinResolution)
{
    std::vector<PtuReading> in;
    for (int i = 0; i < 6; ++i) {
        PtuReading r;
        r.frame = static_cast<std::uint16_t>(65530 + i); // wraps past 65535
        r.p = 1013.254 - i * 199.873;
        r.t = 31.237 - i * 21.004; // down to -74 degC
        r.u = 99.996 - i * 19.5;
        r.vbat = 6.26 - i * 0.1;
        r.extended = i % 2 == 1;
        r.tint = -40.5 + i;
        r.tpr = 20.123 * i;
        r.tu = -80.016;
        in.push_back(r);
    }
    std::vector<Packet> packets;
    for (const auto& r : in)
        packets.push_back(encodePtu(r));
    TempDir dir;
    Q5 q5;
    ASSERT_TRUE(readBack(packets, q5, dir));
    ASSERT_EQ(q5.fltRecs.size(), in.size());
    const RawRecord* rec = q5.fltRecs.first();
    for (const auto& r : in) {
        ASSERT_NE(rec, nullptr);
        EXPECT_EQ(rec->type, r.extended ? TypePtuExt : TypePtu);
        const PtuData& d = rec->data.ptu;
        EXPECT_EQ(d.frame, r.frame);
        EXPECT_NEAR(d.p, r.p, 0.005 + 1e-9);
        EXPECT_NEAR(d.t, r.t, 0.005 + 1e-9);
        EXPECT_NEAR(d.u, r.u, 0.005 + 1e-9);
        EXPECT_NEAR(d.vbat, r.vbat, 0.05 + 1e-9);
        if (r.extended) {
            EXPECT_NEAR(d.tint, r.tint, 0.005 + 1e-9);
            EXPECT_NEAR(d.tpr, r.tpr, 0.005 + 1e-9);
            EXPECT_NEAR(d.tu, r.tu, 0.005 + 1e-9);
        }
        rec = rec->next;
    }
    EXPECT_EQ(q5.hasPtuExt, 1);
}

TEST(PacketEncoding, GpsFixesDecodeWithSinglePrecisionPositions)
{
    std::vector<GpsReading> in;
    const double lats[] = {46.81234567, -54.85, 89.999, -0.000123};
    const double lons[] = {6.94512345, -68.31, 179.999, -179.5};
    for (int i = 0; i < 4; ++i) {
        GpsReading r;
        r.lat = lats[i];
        r.lon = lons[i];
        r.alt = i == 0 ? -120.4 : 34567.6 * i; // above 60 km clamps to the field
        r.sats = 3 + i * 3;
        r.velocities = i >= 2;
        r.ewv = -45.678;
        r.nsv = 12.345;
        r.udv = -60.5;
        r.hour = 23;
        r.minute = 59;
        r.second = 58 + i % 2;
        in.push_back(r);
    }
    std::vector<Packet> packets;
    for (const auto& r : in)
        packets.push_back(encodeGps(r));
    TempDir dir;
    Q5 q5;
    ASSERT_TRUE(readBack(packets, q5, dir));
    ASSERT_EQ(q5.fltRecs.size(), in.size());
    const RawRecord* rec = q5.fltRecs.first();
    for (const auto& r : in) {
        const GpsData& d = rec->data.gps;
        EXPECT_EQ(rec->type, r.velocities ? TypeGpsVel : TypeGps);
        EXPECT_EQ(d.lat, static_cast<double>(static_cast<float>(r.lat)));
        EXPECT_EQ(d.lon, static_cast<double>(static_cast<float>(r.lon)));
        EXPECT_NEAR(d.alt, std::min(r.alt, 60535.0), 0.5);
        EXPECT_EQ(d.nSats, r.sats);
        EXPECT_EQ(d.gpsHour, r.hour);
        EXPECT_EQ(d.gpsMin, r.minute);
        EXPECT_EQ(d.gpsSec, r.second);
        if (r.velocities) {
            EXPECT_NEAR(d.ewv, r.ewv, 1e-5);
            EXPECT_NEAR(d.nsv, r.nsv, 1e-5);
            EXPECT_NEAR(d.udv, r.udv, 1e-5);
        }
        rec = rec->next;
    }
}

TEST(PacketEncoding, OzonePacketsAreBigEndianAndKeepTheChainNumber)
{
    std::vector<OzoneReading> in;
    for (int i = 1; i <= 4; ++i) {
        OzoneReading r;
        r.position = i;
        r.ic = 0.5 + 1.2344 * i;
        r.tp = i == 1 ? -2.0 : 20.0 + 7.126 * i;
        r.ip = 60.4 + i;
        r.bat = 13.86;
        in.push_back(r);
    }
    std::vector<Packet> packets;
    for (const auto& r : in)
        packets.push_back(encodeOzone(r));
    // The first: 0.5 + 1.2344 uA = 1734 (06 C6), -2.00 degC = FF 38.
    EXPECT_EQ(hex(packets[0]), "0B0300010106C6FF383D8B");
    TempDir dir;
    Q5 q5;
    ASSERT_TRUE(readBack(packets, q5, dir));
    EXPECT_EQ(q5.o3Count, 4u);
    const RawRecord* rec = q5.fltRecs.first();
    for (const auto& r : in) {
        ASSERT_TRUE(rec->isOzone());
        const O3Data& d = rec->data.o3;
        EXPECT_EQ(d.o3Num, r.position);
        EXPECT_NEAR(d.ic, r.ic, 0.0005 + 1e-9);
        EXPECT_NEAR(d.tp, r.tp, 0.005 + 1e-9);
        EXPECT_NEAR(d.ip, r.ip, 0.5);
        EXPECT_NEAR(d.o3Bat, r.bat, 0.05 + 1e-9);
        rec = rec->next;
    }
}

TEST(PacketEncoding, OutOfRangeValuesClampToTheField)
{
    OzoneReading o;
    o.ic = 70; // above 65.535 uA
    o.tp = -400;
    EXPECT_EQ(hex(encodeOzone(o)).substr(10, 8), "FFFF8000");
    PtuReading p;
    p.p = -3; // no negative pressures on the wire
    EXPECT_EQ(hex(encodePtu(p)).substr(8, 6), "000000");
    p.p = 1008.8;
    EXPECT_EQ(hex(encodePtu(p)).substr(8, 6), "108A01");
}

TEST(PacketEncoding, AuxiliaryPacketsKeepTheirBytes)
{
    const std::uint8_t data[] = {1, 2, 250};
    const Packet p = encodeAux(2, data, 3);
    TempDir dir;
    Q5 q5;
    ASSERT_TRUE(readBack({p}, q5, dir));
    const RawRecord* r = q5.fltRecs.first();
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->type, TypeAux);
    EXPECT_EQ(r->kind, 2);
    EXPECT_EQ(r->data.bytes[1], 3);
    EXPECT_EQ(r->data.bytes[6], 250);
    EXPECT_EQ(q5.o3Count, 0u);
}

TEST(StationClockText, RollsOverMidnightAndMatchesTheReader)
{
    const StationClock clock(2026, 12, 31, 23, 59, 59);
    std::string s;
    clock.append(s, 1500);
    EXPECT_EQ(s, "2027/01/01 00:00:00.500");
    // The date-time the truth uses equals the one the reader forms.
    TempDir dir;
    Q5 q5;
    RawFileWriter w(clock);
    w.addSeparator(0);
    const std::uint8_t ptu[] = {12, 1, 0, 0, 0x10, 0x8A, 0x01, 0, 0, 0, 0, 60};
    w.add(1500, rawPacket(ptu, 12));
    const std::string path = dir.file("clock.raw");
    ASSERT_TRUE(w.save(path));
    ASSERT_TRUE(q5.ReadRaw(path));
    ASSERT_EQ(q5.fltRecs.size(), 1u);
    EXPECT_EQ(q5.fltRecs.first()->time, clock.dateTime(1500));
}

} // namespace
} // namespace lumo::test
