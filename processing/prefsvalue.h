#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "flight/flightwarning.h"

namespace lumo {

class IniFile;

// Checked reading of single preferences keys. A key that is there but holds
// no valid value is never replaced by a default without a word: it gives the
// "prefs-value" warning naming the key, its text and the value used. A
// missing or empty key gives the default silently. The INI reading is the
// profile files' own: the whole text after "=" is the value, so a trailing
// "; comment" makes it invalid.

// Adds the "prefs-value" warning: "[section] key" holds `text`, which is not
// `expected`; `used` was used. Long or unprintable text is shortened and
// escaped for the message.
void warnPrefsValue(FlightWarnings& warnings, std::string_view section, std::string_view key, std::string_view text,
                    std::string_view expected, std::string_view used);

// A number: the whole text, within [min, max]; else `fallback` with the
// warning. `fallback` is also what a missing or empty key gives.
double prefsNumber(const IniFile& ini, std::string_view section, std::string_view key, double min, double max,
                   double fallback, FlightWarnings& warnings);

// One of `words`, matched without regard to case: its index; else
// `fallback` (an index into `words`) with the warning.
int prefsChoice(const IniFile& ini, std::string_view section, std::string_view key,
                std::initializer_list<std::string_view> words, int fallback, FlightWarnings& warnings);

// A text value as UTF-8 without control characters: kept when it is one;
// else each byte of text that is not valid UTF-8 is read as Latin-1 and each
// control character becomes U+FFFD, with the warning.
std::string checkedText(std::string_view section, std::string_view key, std::string_view text,
                        FlightWarnings& warnings);

// The shortest text that reads back as v ("0.02", "1e+06").
std::string shortestNumber(double v);

} // namespace lumo
