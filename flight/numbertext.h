#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lumo {

// Number reading and writing independent of the process locale: "." is
// always the decimal point, so a C library locale switched by a GUI toolkit
// cannot change what a file means.

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

// The text trimmed of blanks, with ASCII capitals made small.
std::string lowerCase(std::string_view text);

// Equal but for the case of ASCII letters.
bool equalsNoCase(std::string_view a, std::string_view b);

// The value with `decimals` digits after ".", as printf's "%.Nf" gives it in
// the C locale (correctly rounded; "-0.00" for a small negative value).
std::string formatFixed(double value, int decimals);

// printf-style text with the values in turn for its "%W.Pf" conversions (the
// width W optional, padded with blanks on the left); "%%" gives "%"; other
// text, and a conversion of any other kind, is copied as it stands.
std::string formatNumbers(std::string_view format, std::initializer_list<double> values);

} // namespace lumo
