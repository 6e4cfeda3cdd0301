#pragma once

#include <cstddef>
#include <string>

namespace lumo {

// Fixed-point number text for the fixed-width files, byte for byte what
// std::to_chars(fixed, decimals) (and so printf's "%.Nf" in the C locale)
// writes: the exact value of the double correctly rounded to `decimals`
// digits, an exact tie to the even digit, "-" for every negative value
// (also "-0.00" for -0.001 and "-0" for -0.0), "nan" and "inf" as they are.
//
// Values the files hold (below 2^52 in magnitude, up to 9 decimals) take a
// fast path: the double m * 2^e is scaled exactly to m * 10^d / 2^-e in
// 128-bit integers, rounded on the remainder and written digit by digit.
// Anything else goes through std::to_chars.

// Room the longest result needs: the 309 digits of the largest double, the
// sign, the point and up to 100 decimals.
inline constexpr std::size_t FixedPointMaxBytes = 420;

// Writes the number at `out` (which has room for FixedPointMaxBytes) and
// returns the end; bytes of that room past the end may be overwritten.
// `decimals` is clamped to 0..100.
char* writeFixedPoint(char* out, double value, int decimals);

// The same right-aligned in a field of `width` characters, padded with
// blanks on the left ("%W.Df"); a wider number is written whole. `out` has
// room for width + FixedPointMaxBytes.
char* writeFixedPointField(char* out, double value, int width, int decimals);

// writeFixedPoint at the end of `out`: the digits go straight into the
// string's storage.
void appendFixedPoint(std::string& out, double value, int decimals);

} // namespace lumo
