#pragma once

#include <cstddef>
#include <cstdint>

namespace lumo {

// Packet types as they appear in byte 1 of a telemetry packet.
enum RecordType : std::uint8_t {
    TypeInvalid = 0,
    TypePtu = 1,
    TypeGps = 2,
    TypeAux = 3,
    TypePtuExt = 4,
    TypeGpsVel = 5,
};

constexpr std::uint8_t KindOzonesonde = 1;
constexpr int MaxPacketBytes = 100;

// The payload structs are packed to 4-byte alignment so that the union can
// start right after the 4-byte header that follows `time` (offset 28): each
// variant opens with 4 bytes before its doubles, which puts every double on
// an 8-byte boundary of the record all the same (checked below). A record is 136 bytes
// instead of 144 with natural alignment. A member added to a variant must
// keep its doubles on 8-byte boundaries.
#pragma pack(push, 4)

struct PtuData {
    std::int32_t frame;
    double p, t, u, vbat;
    double tint, tpr, tu;   // extended packets only
    double hgt, gpsAlt, rate; // processed
};

struct GpsData {
    std::int32_t : 32;      // unnamed, so initialisers still start with lat
    double lat, lon, alt;
    double ewv, nsv, udv;   // velocity packets only
    double ptuT, ptuU, gpsP, gpsRate; // processed
    std::int32_t nSats;
    std::int32_t gpsHour, gpsMin, gpsSec;
};

struct O3Data {
    std::uint8_t o3Num;     // chain position as received; may lie outside 1..4
    double ic, tp, ip, o3Bat;
    double p, t, u, tu, gpsAlt, gpsP, hgt, o3pp; // processed
    double o3ppClassic; // nb, the classic equation's value when the standard method made o3pp
};

union RecordPayload {
    PtuData ptu;
    GpsData gps;
    O3Data o3;
    std::uint8_t bytes[MaxPacketBytes];
};

#pragma pack(pop)

// One decoded telemetry line. The payload is a tagged union selected by
// `type` (and `kind` for auxiliary packets); every record has the same size.
// The links come first and the one-byte members share a word with the
// payload's start; one byte is left there (offset 27) for a further flag.
struct RawRecord {
    RawRecord* prev = nullptr;
    RawRecord* next = nullptr;
    double time = 0;         // days since 1899-12-30
    std::uint8_t type = TypeInvalid;
    std::uint8_t kind = 0;
    std::uint8_t packetSize = 0; // bytes of the packet as received, 2..100
    using Payload = RecordPayload;
    Payload data{};

    bool isPtu() const { return type == TypePtu || type == TypePtuExt; }
    bool isGps() const { return type == TypeGps || type == TypeGpsVel; }
    bool isOzone() const { return type == TypeAux && kind == KindOzonesonde; }
    // Chain slot 0..3 of an ozone record, or -1 when its chain number does
    // not fit the four slots.
    int o3Slot() const { return (data.o3.o3Num >= 1 && data.o3.o3Num <= 4) ? data.o3.o3Num - 1 : -1; }
};

static_assert(sizeof(RawRecord) == 136, "records are read by the million: keep them free of padding");
static_assert(offsetof(RawRecord, data) % 8 == 4);
static_assert(offsetof(PtuData, p) % 8 == 4 && offsetof(GpsData, lat) % 8 == 4 && offsetof(O3Data, ic) % 8 == 4,
              "the doubles of the payload sit on 8-byte boundaries of the record");

} // namespace lumo
