#pragma once

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

struct PtuData {
    std::int32_t frame;
    double p, t, u, vbat;
    double tint, tpr, tu;   // extended packets only
    double hgt, gpsAlt, rate; // processed
};

struct GpsData {
    double lat, lon, alt;
    double ewv, nsv, udv;   // velocity packets only
    double ptuT, ptuU, gpsP, gpsRate; // processed
    std::int32_t nSats;
    std::int32_t gpsHour, gpsMin, gpsSec;
};

struct O3Data {
    std::uint8_t o3Num;     // chain position as received; may lie outside 1..4
    double ic, tp, ip, o3Bat;
    double p, t, u, tu, gpsAlt, gpsP, hgt, o3pp, spare; // processed
};

// One decoded telemetry line. The payload is a tagged union selected by
// `type` (and `kind` for auxiliary packets); every record has the same size.
struct RawRecord {
    double time = 0;         // days since 1899-12-30
    std::uint8_t type = TypeInvalid;
    std::uint8_t kind = 0;
    std::uint8_t packetSize = 0; // bytes of the packet as received, 2..100
    union Payload {
        PtuData ptu;
        GpsData gps;
        O3Data o3;
        std::uint8_t bytes[MaxPacketBytes];
    } data{};
    RawRecord* prev = nullptr;
    RawRecord* next = nullptr;

    bool isPtu() const { return type == TypePtu || type == TypePtuExt; }
    bool isGps() const { return type == TypeGps || type == TypeGpsVel; }
    bool isOzone() const { return type == TypeAux && kind == KindOzonesonde; }
    // Chain slot 0..3 of an ozone record, or -1 when its chain number does
    // not fit the four slots.
    int o3Slot() const { return (data.o3.o3Num >= 1 && data.o3.o3Num <= 4) ? data.o3.o3Num - 1 : -1; }
};

} // namespace lumo
