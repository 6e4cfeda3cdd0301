#pragma once

#include <string>

namespace lumo::sim {

// Fixed-point text with "." as decimal point whatever the locale; -0.00
// is written as 0.00.
std::string formatFixed(double value, int decimals);
void appendFixed(std::string& out, double value, int decimals);

} // namespace lumo::sim
