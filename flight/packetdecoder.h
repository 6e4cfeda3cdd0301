#pragma once

#include <cstddef>
#include <cstdint>

namespace lumo {

struct RawRecord;

// Limits of the GPS velocities: the single-precision value of 999.999, as the
// receiver's float field holds it.
constexpr double GpsVelocityLimit = static_cast<double>(999.999f);

// Decodes one telemetry packet into the record's type, kind and payload.
// `bytes` holds MaxPacketBytes bytes, zero beyond the packet's `size`, so a
// packet shorter than its type's layout reads as 0 there. Returns false for a
// packet type that is not decoded (0, or above 5) and for a PTU or GPS packet
// that fails its validity check; the record's type is then 0.
bool decodePacket(const std::uint8_t* bytes, std::size_t size, RawRecord& rec);

} // namespace lumo
