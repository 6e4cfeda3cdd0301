#include "fixedpoint.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace lumo {

namespace {

__extension__ typedef unsigned __int128 Wide;

constexpr int FastMaxDecimals = 9;
constexpr std::uint64_t Pow10[FastMaxDecimals + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
// Magnitudes taking the fast path: below 2^52 every double has binary
// fraction digits (the exponent of m * 2^e is negative), and the scaled
// value stays at or below 10^18, inside 64 bits, for each decimal count.
constexpr double TwoTo52 = 4503599627370496.0;
constexpr double FastLimit[FastMaxDecimals + 1] = {TwoTo52, TwoTo52, TwoTo52, 1e15, 1e14, 1e13, 1e12, 1e11, 1e10, 1e9};

constexpr char DigitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                              "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                              "8081828384858687888990919293949596979899";

// |value| * 10^decimals rounded to the nearest integer, an exact tie to the
// even one. value = m / 2^k exactly, so the scaled value is m * 10^d / 2^k:
// the quotient is the integer part, the remainder against 2^(k-1) decides
// the rounding without any error.
std::uint64_t scaledMagnitude(double value, int decimals)
{
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int k = 1074; // subnormal: m / 2^1074
    if (biased != 0) {
        m |= std::uint64_t{1} << 52;
        k = 1075 - biased; // at least 1 below 2^52
    }
    if (m == 0)
        return 0;
    const Wide scaled = static_cast<Wide>(m) * Pow10[decimals]; // below 2^53 * 10^9 < 2^83
    // From 2^-84 on the scaled value is below half a unit: it rounds to 0.
    if (k >= 84)
        return 0;
    auto whole = static_cast<std::uint64_t>(scaled >> k);
    const Wide rest = scaled - (static_cast<Wide>(whole) << k);
    const Wide half = static_cast<Wide>(1) << (k - 1);
    if (rest > half || (rest == half && (whole & 1) != 0))
        ++whole;
    return whole;
}

// The digits of the fast path, written backwards so that `end` is the end
// of the text; returns its start.
char* fastBackward(char* end, double value, int decimals)
{
    std::uint64_t q = scaledMagnitude(value, decimals);
    char* p = end;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + q % 10);
        q /= 10;
    }
    if (decimals > 0)
        *--p = '.';
    while (q >= 100) {
        const auto pair = static_cast<std::size_t>(q % 100) * 2;
        q /= 100;
        p -= 2;
        std::memcpy(p, DigitPairs + pair, 2);
    }
    if (q >= 10) {
        p -= 2;
        std::memcpy(p, DigitPairs + q * 2, 2);
    } else {
        *--p = static_cast<char>('0' + q);
    }
    if (std::signbit(value))
        *--p = '-';
    return p;
}

bool fast(double value, int decimals) { return decimals <= FastMaxDecimals && std::fabs(value) < FastLimit[decimals]; }

int clampDecimals(int decimals) { return decimals < 0 ? 0 : decimals > 100 ? 100 : decimals; }

// Room of the fast path: 16 integer digits, the point, 9 decimals, the sign.
constexpr std::size_t FastBytes = 32;

} // namespace

char* writeFixedPoint(char* out, double value, int decimals)
{
    decimals = clampDecimals(decimals);
    if (fast(value, decimals)) {
        char tmp[FastBytes];
        const char* begin = fastBackward(tmp + FastBytes, value, decimals);
        const auto n = static_cast<std::size_t>(tmp + FastBytes - begin);
        std::memcpy(out, begin, n);
        return out + n;
    }
    const auto r = std::to_chars(out, out + FixedPointMaxBytes, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? r.ptr : out;
}

char* writeFixedPointField(char* out, double value, int width, int decimals)
{
    decimals = clampDecimals(decimals);
    const auto field = static_cast<std::size_t>(width > 0 ? width : 0);
    if (fast(value, decimals)) {
        char tmp[FastBytes];
        const char* begin = fastBackward(tmp + FastBytes, value, decimals);
        const auto n = static_cast<std::size_t>(tmp + FastBytes - begin);
        const std::size_t pad = n < field ? field - n : 0;
        std::memset(out, ' ', pad);
        std::memcpy(out + pad, begin, n);
        return out + pad + n;
    }
    char* end = writeFixedPoint(out, value, decimals);
    const auto n = static_cast<std::size_t>(end - out);
    if (n >= field)
        return end;
    const std::size_t pad = field - n;
    std::memmove(out + pad, out, n);
    std::memset(out, ' ', pad);
    return out + field;
}

} // namespace lumo
