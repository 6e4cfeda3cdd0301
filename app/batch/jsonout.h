#pragma once

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

namespace lumo::batch {

// JSON values keep their members in insertion order: the output shapes of
// lumo-batch are fixed, and readers may rely on the order.
using Json = nlohmann::ordered_json;

// Serialises the value on one line without blanks. Doubles are written with
// the shortest text that reads back to the same double (std::to_chars), so
// -9999.9 stays "-9999.9" and 5.0 becomes "5"; a number that is not finite
// is written as null. Texts are escaped; bytes that do not form UTF-8 are
// taken as Latin-1 characters, so text from any file prints as valid JSON.
void appendJson(std::string& out, const Json& value);
std::string toJson(const Json& value);

// Appends a double in the shortest round-trip form ("null" when not finite).
void appendNumber(std::string& out, double value);

// Writes the value and a line feed; false when the stream reports an error.
bool writeJsonLine(std::FILE* out, const Json& value);

} // namespace lumo::batch
