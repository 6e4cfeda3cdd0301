#pragma once

#include <string>

namespace lumo::sim {

// Fixed-point text with "." as decimal point whatever the locale; -0.00
// is written as 0.00.
std::string formatFixed(double value, int decimals);
void appendFixed(std::string& out, double value, int decimals);

// Writes the bytes to a temporary file beside `path` and renames it into
// place, so a reader never sees a half-written file. False on failure.
bool writeFileAtomically(const std::string& path, const std::string& content);

} // namespace lumo::sim
