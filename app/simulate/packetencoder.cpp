#include "packetencoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumo::sim {

namespace {

long long scaled(double value, double step, long long lo, long long hi)
{
    if (!std::isfinite(value))
        return lo;
    return std::clamp(std::llround(value / step), lo, hi);
}

class Writer {
public:
    explicit Writer(Packet& p) : p_(p) {}
    void u8(long long v) { p_.bytes[p_.size++] = static_cast<std::uint8_t>(v & 0xFF); }
    void le16(long long v) { u8(v); u8(v >> 8); }
    void le24(long long v) { u8(v); u8(v >> 8); u8(v >> 16); }
    void be16(long long v) { u8(v >> 8); u8(v); }
    void f32(double v)
    {
        const float f = static_cast<float>(v);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, sizeof bits);
        for (int i = 0; i < 4; ++i)
            u8(bits >> (8 * i));
    }

private:
    Packet& p_;
};

// Byte 0 carries the packet length, as the interface frames packets; the
// decoder does not read it.
void finish(Packet& p) { p.bytes[0] = static_cast<std::uint8_t>(p.size); }

} // namespace

double quantize(double value, double step)
{
    return static_cast<double>(std::llround(value / step)) * step;
}

Packet encodePtu(const PtuReading& r)
{
    Packet p;
    Writer w(p);
    w.u8(0);
    w.u8(r.extended ? 4 : 1);
    w.le16(r.frame);
    w.le24(scaled(r.p, 0.01, 0, 0xFFFFFF));
    w.le16(scaled(r.t, 0.01, -32768, 32767));
    w.le16(scaled(r.u, 0.01, -32768, 32767));
    w.u8(scaled(r.vbat, 0.1, 0, 255));
    if (r.extended) {
        w.le16(scaled(r.tint, 0.01, -32768, 32767));
        w.le16(scaled(r.tpr, 0.01, -32768, 32767));
        w.le16(scaled(r.tu, 0.01, -32768, 32767));
    }
    finish(p);
    return p;
}

Packet encodeGps(const GpsReading& r)
{
    Packet p;
    Writer w(p);
    w.u8(0);
    w.u8(r.velocities ? 5 : 2);
    w.f32(r.lat);
    w.f32(r.lon);
    w.le16(scaled(r.alt + 5000, 1, 0, 0xFFFF));
    w.u8(std::clamp(r.sats, 0, 255));
    if (r.velocities) {
        w.f32(r.ewv);
        w.f32(r.nsv);
        w.f32(r.udv);
    }
    w.u8(r.hour);
    w.u8(r.minute);
    w.u8(r.second);
    finish(p);
    return p;
}

Packet encodeOzone(const OzoneReading& r)
{
    Packet p;
    Writer w(p);
    w.u8(0);
    w.u8(3);
    w.u8(0);
    w.u8(1);
    w.u8(r.position);
    w.be16(scaled(r.ic, 0.001, 0, 0xFFFF));
    w.be16(scaled(r.tp, 0.01, -32768, 32767));
    w.u8(scaled(r.ip, 1, 0, 255));
    w.u8(scaled(r.bat, 0.1, 0, 255));
    finish(p);
    return p;
}

Packet encodeAux(std::uint8_t kind, const std::uint8_t* data, int count)
{
    Packet p;
    Writer w(p);
    w.u8(0);
    w.u8(3);
    w.u8(0);
    w.u8(kind);
    count = std::min(count, static_cast<int>(sizeof p.bytes) - 4);
    for (int i = 0; i < count; ++i)
        w.u8(data[i]);
    finish(p);
    return p;
}

Packet rawPacket(const std::uint8_t* data, int count)
{
    Packet p;
    p.size = std::clamp(count, 0, static_cast<int>(sizeof p.bytes));
    std::memcpy(p.bytes, data, static_cast<std::size_t>(p.size));
    return p;
}

void appendHex(std::string& out, const Packet& packet)
{
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < packet.size; ++i) {
        out += digits[packet.bytes[i] >> 4];
        out += digits[packet.bytes[i] & 0xF];
    }
}

} // namespace lumo::sim
