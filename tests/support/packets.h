#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

// Builders for raw telemetry lines and packets used by the decoder tests.
namespace lumo::test {

inline std::string hexBytes(std::initializer_list<int> bytes)
{
    std::string s;
    char pair[3];
    for (int b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b & 0xFF);
        s += pair;
    }
    return s;
}

// A float as the four little-endian bytes the GPS packets carry.
inline std::string floatHex(float v)
{
    const auto bits = std::bit_cast<std::uint32_t>(v);
    return hexBytes({int(bits & 0xFF), int(bits >> 8 & 0xFF), int(bits >> 16 & 0xFF), int(bits >> 24 & 0xFF)});
}

// Type-1 PTU packet with the pressure given in 0.01 hPa.
inline std::string ptuPacket(unsigned pressureCenti, int frame = 1)
{
    return hexBytes({0, 1, frame & 0xFF, frame >> 8 & 0xFF, int(pressureCenti & 0xFF), int(pressureCenti >> 8 & 0xFF),
                     int(pressureCenti >> 16 & 0xFF), 0xD0, 0x07, 0xA0, 0x0F, 0x3C});
}

inline std::string gpsPacket(float lat, float lon)
{
    return "0002" + floatHex(lat) + floatHex(lon) + hexBytes({0x88, 0x13, 7, 12, 30, 45});
}

inline std::string ozonePacket(int chain, int icMicroAmpThousandths = 500)
{
    return hexBytes({0, 3, 0, 1, chain, icMicroAmpThousandths >> 8 & 0xFF, icMicroAmpThousandths & 0xFF, 0xFF, 0x38,
                     0x5A, 0x5F});
}

// "2024/05/07 12:mm:ss packet" with the time counted in seconds from 12:00.
inline std::string rawLine(int seconds, const std::string& packet, const char* eol = "\n")
{
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "2024/05/07 %02d:%02d:%02d ", 12 + seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return stamp + packet + eol;
}

} // namespace lumo::test
