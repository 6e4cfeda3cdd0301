#include "packetdecoder.h"

#include <bit>
#include <cstring>

#include "rawrecord.h"

namespace lumo {

namespace {

// Multi-byte integers are little-endian except in the ozonesonde packet.
unsigned u16le(const std::uint8_t* b) { return b[0] | b[1] << 8; }
unsigned u24le(const std::uint8_t* b) { return b[0] | b[1] << 8 | b[2] << 16; }
int s16le(const std::uint8_t* b) { return static_cast<std::int16_t>(u16le(b)); }
unsigned u16be(const std::uint8_t* b) { return b[0] << 8 | b[1]; }
int s16be(const std::uint8_t* b) { return static_cast<std::int16_t>(u16be(b)); }

double floatLe(const std::uint8_t* b)
{
    const std::uint32_t bits = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                               static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
    return static_cast<double>(std::bit_cast<float>(bits));
}

double limitVelocity(double v)
{
    if (v > 999.999)
        return GpsVelocityLimit;
    if (v < -999.999 || v != v) // NaN reads as the lower limit
        return -GpsVelocityLimit;
    return v;
}

bool decodePtu(const std::uint8_t* b, bool extended, PtuData& ptu)
{
    ptu.frame = static_cast<std::int32_t>(u16le(b + 2));
    ptu.p = u24le(b + 4) * 0.01;
    ptu.t = s16le(b + 7) * 0.01;
    ptu.u = s16le(b + 9) * 0.01;
    ptu.vbat = b[11] * 0.1;
    if (extended) {
        ptu.tint = s16le(b + 12) * 0.01;
        ptu.tpr = s16le(b + 14) * 0.01;
        ptu.tu = s16le(b + 16) * 0.01;
    }
    return ptu.p >= 1 && ptu.p <= 1200;
}

bool decodeGps(const std::uint8_t* b, bool withVelocity, GpsData& gps)
{
    gps.lat = floatLe(b + 2);
    gps.lon = floatLe(b + 6);
    gps.alt = static_cast<double>(u16le(b + 10)) - 5000;
    gps.nSats = b[12];
    const std::uint8_t* clock = b + 13;
    if (withVelocity) {
        gps.ewv = limitVelocity(floatLe(b + 13));
        gps.nsv = limitVelocity(floatLe(b + 17));
        gps.udv = limitVelocity(floatLe(b + 21));
        clock = b + 25;
    }
    gps.gpsHour = clock[0];
    gps.gpsMin = clock[1];
    gps.gpsSec = clock[2];
    // Comparisons with NaN are false, so a coordinate that is not a number fails.
    return gps.lat >= -90 && gps.lat <= 90 && gps.lon >= -180 && gps.lon <= 180;
}

void decodeOzone(const std::uint8_t* b, O3Data& o3)
{
    o3.o3Num = b[4];
    o3.ic = u16be(b + 5) * 0.001;
    o3.tp = s16be(b + 7) * 0.01;
    o3.ip = b[9];
    o3.o3Bat = b[10] * 0.1;
}

} // namespace

bool decodePacket(const std::uint8_t* bytes, std::size_t size, RawRecord& rec)
{
    rec.type = bytes[1];
    rec.kind = 0;
    rec.packetSize = static_cast<std::uint8_t>(size > MaxPacketBytes ? MaxPacketBytes : size);
    bool valid = true;
    switch (rec.type) {
    case TypePtu:
    case TypePtuExt:
        valid = decodePtu(bytes, rec.type == TypePtuExt, rec.data.ptu);
        break;
    case TypeGps:
    case TypeGpsVel:
        valid = decodeGps(bytes, rec.type == TypeGpsVel, rec.data.gps);
        break;
    case TypeAux:
        rec.kind = bytes[3];
        if (rec.kind == KindOzonesonde)
            decodeOzone(bytes, rec.data.o3);
        else
            std::memcpy(rec.data.bytes, bytes, rec.packetSize);
        break;
    default:
        valid = false;
        break;
    }
    if (!valid)
        rec.type = TypeInvalid;
    return valid;
}

} // namespace lumo
