#pragma once

#include <cstdint>
#include <string>

namespace lumo::sim {

// One telemetry packet as bytes; byte 1 is the packet type.
struct Packet {
    std::uint8_t bytes[32] = {};
    int size = 0;
};

struct PtuReading {
    std::uint16_t frame = 0;
    double p = 0, t = 0, u = 0; // hPa, degC, %RH
    double vbat = 0;            // V
    bool extended = false;      // type 4 with the three sensor temperatures
    double tint = 0, tpr = 0, tu = 0; // degC
};

struct GpsReading {
    double lat = 0, lon = 0; // degrees (single precision on the wire)
    double alt = 0;          // m
    int sats = 0;
    bool velocities = false; // type 5
    double ewv = 0, nsv = 0, udv = 0; // m/s
    int hour = 0, minute = 0, second = 0;
};

struct OzoneReading {
    int position = 1; // chain number 1..4
    double ic = 0;    // cell current, uA
    double tp = 0;    // pump temperature, degC
    double ip = 0;    // pump motor current, mA
    double bat = 0;   // V
};

// Packet encoders. Values are rounded to the packet's resolution (0.01 hPa,
// 0.01 degC, 0.01 %RH, 0.1 V, 1 m, 0.001 uA) and clamped to the field.
Packet encodePtu(const PtuReading& r);
Packet encodeGps(const GpsReading& r);
Packet encodeOzone(const OzoneReading& r);
// Type 3 of another instrument kind with the given payload bytes.
Packet encodeAux(std::uint8_t kind, const std::uint8_t* data, int count);
// Any bytes as a packet, for packets the decoder must reject.
Packet rawPacket(const std::uint8_t* data, int count);

// The values the decoder will read back from the packet fields.
double quantize(double value, double step);

void appendHex(std::string& out, const Packet& packet);

} // namespace lumo::sim
