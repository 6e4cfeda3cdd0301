#include "residualtable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "numberformat.h"
#include "ozoneprofile.h"

namespace lumo::sim {

namespace {

const double Levels[] = {1, 2, 3, 5, 7, 10, 15, 20, 30, 50, 70, 100, 150, 200, 300, 500, 700, 1000};

// Weights of the tropical, mid-latitude and polar shapes at a latitude.
void weights(double lat, double w[3])
{
    const double a = std::fabs(lat);
    const double tm = std::clamp((a - 20) / 15, 0.0, 1.0); // tropics to mid-latitudes over 20..35
    const double mp = std::clamp((a - 50) / 15, 0.0, 1.0); // mid-latitudes to polar over 50..65
    w[0] = 1 - tm;
    w[1] = tm * (1 - mp);
    w[2] = tm * mp;
}

void appendPadded(std::string& out, const std::string& s, std::size_t width)
{
    if (s.size() < width)
        out.append(width - s.size(), ' ');
    out += s;
}

} // namespace

std::string formatResidualTable()
{
    const OzoneProfile shapes[3] = {OzoneProfile(ProfileKind::Tropical), OzoneProfile(ProfileKind::MidLatitude),
        OzoneProfile(ProfileKind::Polar)};
    const double amplitude[3] = {0.02, 0.08, 0.15}; // seasonal swing
    double above[3][std::size(Levels)];
    for (int k = 0; k < 3; ++k)
        for (std::size_t i = 0; i < std::size(Levels); ++i)
            above[k][i] = shapes[k].columnAbove(Levels[i]);

    std::string out;
    for (int band = 17; band >= 0; --band) {
        // band 17 is 80..90 N, band 0 is 80..90 S
        const bool north = band >= 9;
        const int lo = north ? (band - 9) * 10 : (8 - band) * 10;
        const char h = north ? 'n' : 's';
        char label[32];
        if (lo == 0)
            std::snprintf(label, sizeof label, "[0-%d%c]", lo + 10, h);
        else
            std::snprintf(label, sizeof label, "[%d%c-%d%c]", lo, h, lo + 10, h);
        out += label;
        out += " ozone column above the pressure level, DU\r\n";
        out += "    hPa    Jan    Feb    Mar    Apr    May    Jun    Jul    Aug    Sep    Oct    Nov    Dec   Year\r\n";
        double w[3];
        const double centre = (lo + 5) * (north ? 1 : -1);
        weights(centre, w);
        const double swing = w[0] * amplitude[0] + w[1] * amplitude[1] + w[2] * amplitude[2];
        const int peak = north ? 3 : 9; // spring maximum
        for (std::size_t i = 0; i < std::size(Levels); ++i) {
            const double annual = w[0] * above[0][i] + w[1] * above[1][i] + w[2] * above[2][i];
            appendPadded(out, formatFixed(Levels[i], 1), 7);
            for (int m = 1; m <= 12; ++m) {
                const double v = annual * (1 + swing * std::cos(2 * 3.141592653589793 * (m - peak) / 12));
                appendPadded(out, formatFixed(v, 1), 7);
            }
            appendPadded(out, formatFixed(annual, 1), 7);
            out += "\r\n";
        }
    }
    return out;
}

} // namespace lumo::sim
