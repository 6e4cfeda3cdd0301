// The fast fixed-point text against std::to_chars with a precision, the
// conversion the files were written with before: the same bytes for every
// double, on each width and decimal count the export and archive files use.
// Several million values: random bit patterns across each field's range,
// every exact tie of the last decimal (and the doubles beside it), the
// doubles nearest to the decimal ties that are not exact, and the values
// where a field grows past its width.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "flight/fixedpoint.h"

namespace lumo {
namespace {

struct Format {
    int width, decimals;
};

// "%W.Df" of the export files (header fields with width 1) and the NASA Ames
// fields; width 0 stands for the unpadded numbers of the WOUDC tables and the
// Ames auxiliary values.
const Format Formats[] = {
    {8, 2}, {6, 1}, {6, 2}, {8, 1}, {10, 5}, {11, 5}, {9, 3}, {9, 2}, {9, 0}, {9, 1}, {1, 4}, {1, 1},
    {1, 2}, {7, 2}, {8, 4}, {7, 3}, {4, 0}, {5, 1}, {7, 4}, {10, 3}, {0, 0}, {0, 1}, {0, 2}, {0, 3},
    {0, 4}, {0, 5}, {0, 6}, {0, 9},
};

class Checker {
public:
    // The output buffer has exactly the room the formatter asks for, so the
    // sanitizer build sees any write beyond it.
    explicit Checker(Format f) : f_(f), room_(static_cast<std::size_t>(f.width) + FixedPointMaxBytes) {}

    void check(double v)
    {
        ++count_;
        char want[FixedPointMaxBytes + 64];
        char* got = room_.data();
        const auto r = std::to_chars(want, want + sizeof want, v, std::chars_format::fixed, f_.decimals);
        auto n = static_cast<std::size_t>(r.ptr - want);
        if (n < static_cast<std::size_t>(f_.width)) {
            const std::size_t pad = static_cast<std::size_t>(f_.width) - n;
            std::memmove(want + pad, want, n);
            std::memset(want, ' ', pad);
            n += pad;
        }
        const char* end = writeFixedPointField(got, v, f_.width, f_.decimals);
        const auto m = static_cast<std::size_t>(end - got);
        if (m == n && std::memcmp(got, want, n) == 0)
            return;
        if (++failures_ <= 5)
            ADD_FAILURE() << "%" << f_.width << "." << f_.decimals << "f of " << std::hexfloat << v << ": got \""
                          << std::string(got, m) << "\", to_chars \"" << std::string(want, n) << "\"";
    }

    // v and its two neighbours on each side, with both signs.
    void around(double v)
    {
        double up = v, down = v;
        for (int i = 0; i < 2; ++i) {
            up = std::nextafter(up, INFINITY);
            down = std::nextafter(down, -INFINITY);
            check(up);
            check(-up);
            check(down);
            check(-down);
        }
        check(v);
        check(-v);
    }

    long count() const { return count_; }
    int failures() const { return failures_; }

private:
    Format f_;
    std::vector<char> room_;
    long count_ = 0;
    int failures_ = 0;
};

// The largest magnitude the field holds in its width: its integer digits.
double fieldRange(Format f)
{
    const int intDigits = f.width - f.decimals - (f.decimals > 0 ? 1 : 0);
    return intDigits >= 2 ? std::pow(10.0, intDigits) : 1e6;
}

TEST(FixedPoint, SameBytesAsToCharsOnEveryFieldFormat)
{
    std::mt19937_64 rng(20261210);
    long total = 0;
    for (const Format f : Formats) {
        Checker c(f);
        const double range = fieldRange(f);
        const double scale = std::pow(10.0, f.decimals);

        // Random bit patterns: any sign and mantissa, exponents from 2^-40 to
        // twice the field's range.
        const int topExp = std::ilogb(range) + 1;
        std::uniform_int_distribution<int> exponent(-40, topExp);
        for (int i = 0; i < 120000; ++i) {
            const std::uint64_t bits = rng();
            const double mantissa = std::bit_cast<double>((bits & 0x800fffffffffffffULL) | 0x3ff0000000000000ULL);
            c.check(std::ldexp(mantissa, exponent(rng)));
        }

        // Exact ties of the last decimal are the odd multiples of 2^-(d+1);
        // every one below 2^12 / 2^d (and a sample above it), with the
        // doubles beside them.
        const double tieStep = std::ldexp(1.0, -(f.decimals + 1));
        const long denseTies = std::min<long>(static_cast<long>(range / tieStep / 2), 20000);
        for (long j = 0; j < denseTies; ++j)
            c.around((2 * j + 1) * tieStep);
        std::uniform_real_distribution<double> position(0.0, range / tieStep / 2);
        for (int i = 0; i < 20000; ++i)
            c.around((2 * std::floor(position(rng)) + 1) * tieStep);

        // Decimal ties that no double holds: the nearest double and its
        // neighbours, where the slightest error of scaling shows.
        std::uniform_real_distribution<double> unit(0.0, range * scale);
        for (int i = 0; i < 20000; ++i)
            c.around((std::floor(unit(rng)) + 0.5) / scale);
        for (long j = 0; j < 2000; ++j)
            c.around((static_cast<double>(j) + 0.5) / scale);

        // Where the field overflows its width: powers of ten and the values
        // that round up to them, a negative one a digit earlier.
        for (double p = 1; p <= range * 10; p *= 10) {
            c.around(p);
            c.around(p - 0.5 / scale);
        }
        c.around(range / 10 - 0.5 / scale);

        for (double v : {0.0, 5e-324, 1e-310, 2.2250738585072014e-308, -9999.9, 99999.0, 4503599627370496.0,
                         1e9, 1e15, 1e18, 1e300, std::numeric_limits<double>::max(), HUGE_VAL,
                         std::numeric_limits<double>::quiet_NaN()})
            c.around(v);
        EXPECT_EQ(c.failures(), 0) << "%" << f.width << "." << f.decimals << "f";
        total += c.count();
    }
    EXPECT_GT(total, 5000000);
}

TEST(FixedPoint, SameBytesAsToCharsOnAnyDouble)
{
    // Every bit pattern, any decimal count up to the fast path's end and
    // beyond it (the standard conversion then writes the number).
    std::mt19937_64 rng(7);
    for (int d = 0; d <= 12; ++d) {
        Checker c({0, d});
        for (int i = 0; i < 30000; ++i)
            c.check(std::bit_cast<double>(rng()));
        EXPECT_EQ(c.failures(), 0) << "decimals " << d;
    }
}

TEST(FixedPoint, UnpaddedTextEndsWhereTheNumberEnds)
{
    char buf[FixedPointMaxBytes];
    EXPECT_EQ(std::string(buf, writeFixedPoint(buf, -0.0, 2)), "-0.00");
    EXPECT_EQ(std::string(buf, writeFixedPoint(buf, 0.125, 2)), "0.12");
    EXPECT_EQ(std::string(buf, writeFixedPoint(buf, 0.375, 2)), "0.38");
    EXPECT_EQ(std::string(buf, writeFixedPoint(buf, -9999.9, 2)), "-9999.90");
    EXPECT_EQ(std::string(buf, writeFixedPointField(buf, 123456.5, 6, 0)), "123456");
    EXPECT_EQ(std::string(buf, writeFixedPointField(buf, 1e20, 8, 1)), "100000000000000000000.0");
    EXPECT_EQ(std::string(buf, writeFixedPointField(buf, 2.5, 6, -3)), "     2");
}

} // namespace
} // namespace lumo
