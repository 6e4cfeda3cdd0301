#include "simoptions.h"

#include <cmath>

namespace lumo::sim {

namespace {

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

bool validDate(int y, int m, int d)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1900 || y > 9999 || m < 1 || m > 12 || d < 1)
        return false;
    return d <= ((m == 2 && isLeap(y)) ? 29 : days[m - 1]);
}

bool validRate(double r) { return std::isfinite(r) && r >= 0 && r <= 1; }

} // namespace

const char* profileName(ProfileKind kind)
{
    switch (kind) {
    case ProfileKind::Tropical: return "tropical";
    case ProfileKind::Polar: return "polar";
    case ProfileKind::MidLatitude: break;
    }
    return "midlat";
}

ProfileKind profileForLatitude(double lat)
{
    const double a = std::fabs(lat);
    if (a < 25)
        return ProfileKind::Tropical;
    return a > 55 ? ProfileKind::Polar : ProfileKind::MidLatitude;
}

bool FaultRates::any() const
{
    return duplicate > 0 || badPtu > 0 || badGps > 0 || unknownType > 0 || earlyOzone > 0 || streamGap > 0 ||
           dropout > 0;
}

std::string SimOptions::validate() const
{
    if (sondes < 1 || sondes > 4)
        return "the number of ozonesondes must be 1 to 4";
    if (!(stnAlt >= 0 && stnAlt <= 5000))
        return "the station altitude must be 0 to 5000 m";
    if (!(stnLat >= -89.5 && stnLat <= 89.5) || !(stnLong >= -180 && stnLong <= 180))
        return "the station position must lie within -89.5..89.5 N and -180..180 E";
    if (!(burstKm * 1000 >= stnAlt + 2000 && burstKm <= 45))
        return "the burst height must be at least 2 km above the station and at most 45 km";
    if (!(surfaceMin > 0 && surfaceMin <= 120))
        return "the surface period must be more than 0 and at most 120 minutes";
    if (!(groundSec >= 20 && groundSec <= 7200))
        return "the time on the ground after the separator must be 20 to 7200 s";
    if (!(durationMin >= 0 && durationMin <= 1440))
        return "the duration must be 0 (until the landing) to 1440 minutes";
    if (!(ascentRate >= 1 && ascentRate <= 12) || !(landingRate >= 1 && landingRate <= 30))
        return "the ascent rate must be 1 to 12 m/s and the landing rate 1 to 30 m/s";
    if (!(ptuPeriod >= 0.5 && ptuPeriod <= 60) || !(gpsPeriod >= 0.5 && gpsPeriod <= 60) ||
        !(ozonePeriod >= 0.5 && ozonePeriod <= 60))
        return "packet periods must be 0.5 to 60 s";
    if (!(auxPeriod == 0 || (auxPeriod >= 1 && auxPeriod <= 3600)))
        return "the auxiliary packet period must be 0 (none) or 1 to 3600 s";
    if (!(std::fabs(pressureOffset) <= 80) || !(std::fabs(temperatureOffset) <= 30))
        return "the surface offsets must be within 80 hPa and 30 K";
    if (!validDate(year, month, day) || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59)
        return "the start date or time is not valid";
    if (!validRate(faults.duplicate) || !validRate(faults.badPtu) || !validRate(faults.badGps) ||
        !validRate(faults.unknownType) || !validRate(faults.earlyOzone) || !validRate(faults.streamGap) ||
        !validRate(faults.dropout))
        return "fault rates must be 0 to 1";
    if (!(cutKm == 0 || (cutKm * 1000 >= stnAlt + 1000 && cutKm < burstKm)))
        return "the cut height must be 0 (none) or from 1 km above the station to below the burst";
    if (deadCell < 0 || deadCell > sondes)
        return "the dead cell must be 0 (none) or a chain position of the flight";
    if (!(truthStep >= 1 && truthStep <= 600))
        return "the truth profile step must be 1 to 600 s";
    if (cell.enabled)
        return cellOptionsProblem(cell);
    return {};
}

} // namespace lumo::sim
