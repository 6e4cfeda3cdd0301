#pragma once

#include <string_view>

namespace lumo {

// Number reading independent of the process locale: "." is always the
// decimal point, so a C library locale switched by a GUI toolkit cannot
// change what a file means.

// The leading decimal number of the text as atof reads it: blanks before it
// are skipped, an optional sign, digits with an optional "." and exponent.
// Text that does not begin with a number gives 0. Hexadecimal, "inf" and
// "nan" are not numbers here.
double leadingNumber(std::string_view text);

// True when the whole text, apart from blanks around it, is one decimal
// number; the value goes to `value`.
bool parseNumber(std::string_view text, double& value);

// The leading decimal integer (blanks, optional sign, digits); false when the
// text does not begin with one. Values beyond the int range are clamped.
bool leadingInteger(std::string_view text, int& value);

// Blanks, tabs and line-end characters removed from both ends.
std::string_view trimBlanks(std::string_view text);

} // namespace lumo
