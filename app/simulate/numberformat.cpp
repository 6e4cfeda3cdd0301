#include "numberformat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace lumo::sim {

void appendFixed(std::string& out, double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    if (std::round(value * scale) == 0)
        value = 0; // no "-0.00"
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    out.append(buf, r.ptr);
}

std::string formatFixed(double value, int decimals)
{
    std::string s;
    appendFixed(s, value, decimals);
    return s;
}

bool writeFileAtomically(const std::string& path, const std::string& content)
{
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

} // namespace lumo::sim
