#include "numberformat.h"

#include <cmath>

#include "flight/numbertext.h"

namespace lumo::sim {

void appendFixed(std::string& out, double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    if (std::round(value * scale) == 0)
        value = 0; // no "-0.00"
    out += lumo::formatFixed(value, decimals);
}

std::string formatFixed(double value, int decimals)
{
    std::string s;
    appendFixed(s, value, decimals);
    return s;
}

} // namespace lumo::sim
