#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// Text pieces shared by the archive writers. Numbers never depend on the
// process locale: "." is always the decimal point.

// v with `decimals` fixed decimals; "-0.00" is written "0.00".
void appendFixed(std::string& out, double v, int decimals);
std::string fixedText(double v, int decimals);

// "YYYY-MM-DD" and "HH:MM:SS" of a date-time (rounded to the second), and
// the calendar parts rounded alike.
std::string isoDate(double dateTime);
std::string clockTime(double dateTime);

// The text as UTF-8: kept when it is valid UTF-8, else read as Latin-1;
// control characters (NUL, line breaks, tabs) become U+FFFD.
std::string utf8Text(std::string_view text);

// A value of a comma-separated table, in UTF-8: quoted, with quotes doubled, when it
// holds a comma, a quote or a line break.
std::string csvValue(std::string_view text);

// Printable ASCII only: every other byte becomes "?", so a Latin-1 or UTF-8
// name never breaks a format that allows nothing else.
std::string printableAscii(std::string_view text);

} // namespace lumo

namespace lumo {

// A piece of a file name that keeps distinct texts distinct: letters,
// digits, "-" and "_" (and "." when `keepDots`) stay, every other byte
// (folder separators, blanks, control characters, "%", non-ASCII) becomes
// "%XX" in hexadecimal, so "5A.11" and "5A-11" never name the same file.
std::string fileNamePiece(std::string_view text, bool keepDots);

} // namespace lumo
