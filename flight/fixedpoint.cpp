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
std::uint64_t exactScaledMagnitude(double value, int decimals)
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

constexpr double Pow10Double[FastMaxDecimals + 1] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr double TwoTo40 = 1099511627776.0;

// The same, mostly in double arithmetic: below 2^40 the rounded product
// p = |value| * 10^d lies within half a unit in its last place (at most
// 2^-13) of the exact one, so when p is not within 2^-11 of a half, the
// exact product rounds to p's nearest integer. Products near a half (exact
// ties among them) and larger ones take the exact path.
std::uint64_t scaledMagnitude(double value, int decimals)
{
    const double p = std::fabs(value) * Pow10Double[decimals];
    if (p < TwoTo40) {
        const double nearest = (p + TwoTo52) - TwoTo52; // rounds to an integer, ties to even
        if (std::fabs(p - nearest) < 0.5 - 0x1p-11)
            return static_cast<std::uint64_t>(nearest);
    }
    return exactScaledMagnitude(value, decimals);
}

// Decimal digits of v (at least one).
int digitCount(std::uint64_t v)
{
    static constexpr std::uint64_t Powers[20] = {1,
                                                 10,
                                                 100,
                                                 1000,
                                                 10000,
                                                 100000,
                                                 1000000,
                                                 10000000,
                                                 100000000,
                                                 1000000000,
                                                 10000000000,
                                                 100000000000,
                                                 1000000000000,
                                                 10000000000000,
                                                 100000000000000,
                                                 1000000000000000,
                                                 10000000000000000,
                                                 100000000000000000,
                                                 1000000000000000000,
                                                 10000000000000000000u};
    v |= 1; // the same count, and 0 counts as one digit
    const int bits = 64 - std::countl_zero(v);
    const int guess = (bits * 1233) >> 12; // bits * log10(2), at most one too few
    return guess + (v >= Powers[guess] ? 1 : 0);
}

// The fast path's text with D decimals, right-aligned in a field of `field`
// characters (at most 32) at `out`; returns its end. The blanks go first in
// one fixed-size store, then the digits are written backwards from the end:
// only stores, so nothing waits for a byte just written. D is a constant,
// so the divisions become multiplications.
template <int D>
char* fieldDigits(char* out, std::uint64_t q, bool negative, std::size_t field)
{
    constexpr std::uint64_t scale = Pow10[D];
    std::uint64_t whole = q / scale;
    std::uint64_t fraction = q - whole * scale;
    const auto length = static_cast<std::size_t>((negative ? 1 : 0) + digitCount(whole) + (D > 0 ? D + 1 : 0));
    std::memset(out, ' ', 32);
    char* const end = out + (length < field ? field : length);
    char* p = end;
    if constexpr (D > 0) {
        for (int i = 0; i + 2 <= D; i += 2) {
            p -= 2;
            std::memcpy(p, DigitPairs + fraction % 100 * 2, 2);
            fraction /= 100;
        }
        if constexpr (D % 2 != 0)
            *--p = static_cast<char>('0' + fraction);
        *--p = '.';
    }
    while (whole >= 100) {
        p -= 2;
        std::memcpy(p, DigitPairs + whole % 100 * 2, 2);
        whole /= 100;
    }
    if (whole >= 10) {
        p -= 2;
        std::memcpy(p, DigitPairs + whole * 2, 2);
    } else {
        *--p = static_cast<char>('0' + whole);
    }
    if (negative)
        *--p = '-';
    return end;
}

char* fastField(char* out, double value, int decimals, std::size_t field)
{
    const std::uint64_t q = scaledMagnitude(value, decimals);
    const bool negative = std::signbit(value);
    switch (decimals) {
    case 0: return fieldDigits<0>(out, q, negative, field);
    case 1: return fieldDigits<1>(out, q, negative, field);
    case 2: return fieldDigits<2>(out, q, negative, field);
    case 3: return fieldDigits<3>(out, q, negative, field);
    case 4: return fieldDigits<4>(out, q, negative, field);
    case 5: return fieldDigits<5>(out, q, negative, field);
    case 6: return fieldDigits<6>(out, q, negative, field);
    case 7: return fieldDigits<7>(out, q, negative, field);
    case 8: return fieldDigits<8>(out, q, negative, field);
    default: return fieldDigits<9>(out, q, negative, field);
    }
}

bool fast(double value, int decimals) { return decimals <= FastMaxDecimals && std::fabs(value) < FastLimit[decimals]; }

int clampDecimals(int decimals) { return decimals < 0 ? 0 : decimals > 100 ? 100 : decimals; }

// Widest field of the fast path: its text is at most 22 characters (sign,
// 16 digits, point and decimals), padded with blanks from one 32-byte store.
constexpr std::size_t FastField = 32;

} // namespace

char* writeFixedPoint(char* out, double value, int decimals)
{
    decimals = clampDecimals(decimals);
    if (fast(value, decimals))
        return fastField(out, value, decimals, 0);
    const auto r = std::to_chars(out, out + FixedPointMaxBytes, value, std::chars_format::fixed, decimals);
    return r.ec == std::errc() ? r.ptr : out;
}

char* writeFixedPointField(char* out, double value, int width, int decimals)
{
    decimals = clampDecimals(decimals);
    const auto field = static_cast<std::size_t>(width > 0 ? width : 0);
    if (field <= FastField && fast(value, decimals))
        return fastField(out, value, decimals, field);
    char* end = writeFixedPoint(out, value, decimals);
    const auto n = static_cast<std::size_t>(end - out);
    if (n >= field)
        return end;
    const std::size_t pad = field - n;
    std::memmove(out + pad, out, n);
    std::memset(out, ' ', pad);
    return out + field;
}

void appendFixedPoint(std::string& out, double value, int decimals)
{
    decimals = clampDecimals(decimals);
    const std::size_t at = out.size();
    if (fast(value, decimals)) {
        out.resize(at + FastField);
        char* begin = out.data() + at;
        out.resize(at + static_cast<std::size_t>(fastField(begin, value, decimals, 0) - begin));
        return;
    }
    char buf[FixedPointMaxBytes];
    out.append(buf, writeFixedPoint(buf, value, decimals));
}

} // namespace lumo
