// A published sounding turned back into what the ground station logged and
// what the operator configured, so the processing can run on the measured
// cell current with the data centre's settings.

#include <algorithm>
#include <cctype>
#include <cmath>

#include "cellmodel.h"
#include "flight/atomicfile.h"
#include "initext.h"
#include "rawfilewriter.h"
#include "sounding.h"

namespace lumo::sim {

namespace {

constexpr long long SurfaceMs = 300000; // surface period before the separator
constexpr long long GroundMs = 60000;   // on the ground after it, before the launch

std::string twoDigits(int v) { return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10); }

bool usable(const SoundingLevel& v) { return v.p && v.current; }

// Readings that the processing does not use (pump current, battery) keep
// their last known value where a level lacks them.
struct Carry {
    double tPump = 0, pumpCurrent = 0, battery = 0;
    void update(const SoundingLevel& v)
    {
        tPump = v.tPump.value_or(tPump);
        pumpCurrent = v.pumpCurrent.value_or(pumpCurrent);
        battery = v.battery.value_or(battery);
    }
};

class LevelWriter {
public:
    LevelWriter(RawFileWriter& out, const StationClock& clock) : out_(out), clock_(clock) {}

    void write(long long ms, const SoundingLevel& v, const Carry& c)
    {
        PtuReading ptu;
        ptu.frame = frame_++;
        ptu.p = *v.p;
        ptu.t = v.t.value_or(lastT_);
        ptu.u = v.u.value_or(lastU_);
        lastT_ = ptu.t;
        lastU_ = ptu.u;
        ptu.vbat = 6.0;
        out_.add(next(ms), encodePtu(ptu));
        if (v.lat && v.lon && v.gpsAlt) {
            GpsReading gps;
            gps.lat = *v.lat;
            gps.lon = *v.lon;
            gps.alt = *v.gpsAlt;
            gps.sats = 10;
            const long long at = next(ms);
            clock_.timeOfDay(at, gps.hour, gps.minute, gps.second);
            out_.add(at, encodeGps(gps));
            hasGps = true;
        }
        OzoneReading o3;
        o3.position = 1;
        o3.ic = *v.current;
        o3.tp = c.tPump;
        o3.ip = c.pumpCurrent;
        o3.bat = c.battery;
        out_.add(next(ms), encodeOzone(o3));
    }
    void separator(long long ms) { out_.addSeparator(next(ms)); }
    bool hasGps = false;

private:
    // Every line its own, rising time stamp: the reader drops repeated ones.
    long long next(long long ms)
    {
        last_ = std::max(ms, last_ + 1);
        return last_;
    }
    RawFileWriter& out_;
    const StationClock& clock_;
    long long last_ = -1;
    std::uint16_t frame_ = 0;
    double lastT_ = 0, lastU_ = 0;
};

std::string modelOf(std::string serial)
{
    for (char& c : serial)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (serial.rfind("2Z", 0) == 0 || serial.rfind("Z", 0) == 0)
        return "2Z";
    for (const char* m : {"6A", "5A", "4A"})
        if (serial.rfind(m, 0) == 0)
            return m;
    return {};
}

// The current the classic equation (4.307e-4 mPa per uA K s/100 ml, flat
// tables, no background) turns into the published partial pressure, at the
// last pump temperature known.
Sounding withInvertedCurrent(const Sounding& s)
{
    Sounding c = s;
    c.invertedCurrent = true;
    c.pumpTable.clear();
    c.background = 0.0;
    c.ib0 = c.ib1 = c.ib2 = std::nullopt;
    c.humidityFactor = std::nullopt;
    std::optional<double> tPump;
    for (SoundingLevel& v : c.levels) {
        tPump = v.tPump ? v.tPump : tPump;
        if (v.pO3 && tPump && s.flow)
            v.current = *v.pO3 / (4.307e-4 * (*tPump + 273.15) * *s.flow);
    }
    return c;
}

std::string formatSoundingConfig(const Sounding& s, const SoundingLevel& first, bool hasGps)
{
    IniText ini;
    if (s.invertedCurrent) {
        ini.comment("The cell current is computed from the published partial pressure: the classic method");
        ini.comment("with these flat tables and no background gives that profile back; the standard method does not.");
    }
    ini.section("station");
    ini.text("name", s.station.substr(0, 40));
    ini.number("lat", s.lat, 4);
    ini.number("long", s.lon, 4);
    ini.number("alt", s.alt, 1);
    ini.text("date", std::to_string(s.year) + "/" + twoDigits(s.month) + "/" + twoDigits(s.day));
    ini.section("radiosonde");
    ini.text("sondeID", s.radiosonde.empty() ? "S0000" : s.radiosonde.substr(0, 40));
    ini.text("probeID", "");
    ini.text("P_inst", "1");
    ini.text("GPS_inst", hasGps ? "1" : "0");
    // A constant background: the same factor at every pressure.
    ini.table("bkg_corr", "", {{1100, 1.0}, {1, 1.0}});
    std::vector<TableRow> pump = s.pumpTable;
    std::sort(pump.begin(), pump.end(), [](const TableRow& a, const TableRow& b) { return a.p > b.p; });
    if (pump.empty())
        pump = {{1100, 1.0}, {1, 1.0}}; // the file gives none: no pump correction
    ini.table("pmp_eff", "", pump);

    ini.section("ozonesonde#1");
    ini.text("sn", s.sonde.empty() ? "unknown" : s.sonde.substr(0, 20));
    const std::optional<double> bkg = s.background ? s.background : s.ib2 ? s.ib2 : s.ib1 ? s.ib1 : s.ib0;
    if (!bkg)
        ini.comment("The file names no background current: bkg is 0, as if none had been subtracted.");
    ini.number("bkg", bkg.value_or(0), 3);
    // A humidity factor the data centre applied is folded into the flow
    // time; the laboratory values are then left out, so that a moistening
    // correction is not applied twice.
    const bool folded = s.humidityFactor && *s.humidityFactor > 0;
    if (s.flow)
        ini.number("flow", *s.flow * (folded ? *s.humidityFactor : 1.0), 3);
    if (const std::string model = modelOf(s.sonde); !model.empty())
        ini.text("model", model);
    if (s.kiPct && s.buffer) {
        ini.text("solutionType", solutionText(*s.kiPct, *s.buffer));
        ini.number("kiPct", *s.kiPct, 2);
        ini.number("bufferFraction", *s.buffer, 2);
    }
    if (s.solutionVolume)
        ini.number("solutionVolume", *s.solutionVolume, 1);
    if (!s.thermistor.empty())
        ini.text("thermistor", s.thermistor);
    const std::pair<const char*, std::optional<double>> backgrounds[] = {{"ib0", s.ib0}, {"ib1", s.ib1}, {"ib2", s.ib2}};
    for (const auto& [key, v] : backgrounds)
        if (v)
            ini.number(key, *v, 3);
    if (!folded && s.flowTempC)
        ini.number("flowTemp", *s.flowTempC, 2);
    if (!folded && s.flowHumidity)
        ini.number("flowHumidity", *s.flowHumidity, 1);

    // The surface records repeat the first level: the configured surface
    // values are its readings, the surface ozone the published one.
    ini.section("surface");
    ini.number("p", *first.p, 2);
    ini.number("t", first.t.value_or(0), 2);
    ini.number("u", first.u.value_or(0), 2);
    ini.number("o3#1", s.surfaceO3.value_or(first.pO3.value_or(0)) * 10, 2);
    ini.section("standard");
    ini.number("p", *first.p, 2);
    ini.number("t", first.t.value_or(0), 2);
    ini.number("u", first.u.value_or(0), 2);
    return ini.str();
}

} // namespace

bool writeSoundingFlight(const Sounding& published, const std::string& base, std::string& error)
{
    const bool hasCurrent = std::any_of(published.levels.begin(), published.levels.end(),
        [](const SoundingLevel& v) { return v.current.has_value(); });
    const Sounding s = hasCurrent ? published : withInvertedCurrent(published);
    const auto firstIt = std::find_if(s.levels.begin(), s.levels.end(), usable);
    if (firstIt == s.levels.end() || !s.flow) {
        error = "the sounding has no level with pressure and cell current (or partial pressure and pump "
                "temperature), or no pump flow";
        return false;
    }
    const SoundingLevel& first = *firstIt;
    if (std::none_of(s.levels.begin(), s.levels.end(), [](const SoundingLevel& v) { return v.tPump.has_value(); })) {
        error = "the sounding has no pump temperature";
        return false;
    }
    const long long launchMs = std::llround(s.launchHourUt * 3600000.0);
    const long long startMs = launchMs - SurfaceMs - GroundMs;
    if (startMs < 0) {
        error = "a launch within the first minutes of the day is not supported";
        return false;
    }
    const long long startSec = startMs / 1000;
    const StationClock clock(s.year, s.month, s.day, static_cast<int>(startSec / 3600),
        static_cast<int>(startSec / 60 % 60), static_cast<int>(startSec % 60));
    const long long offset = startMs - startSec * 1000; // ms past the clock's whole second

    RawFileWriter raw(clock);
    raw.reserve(s.levels.size() * 3 + (SurfaceMs + GroundMs) / 1000 * 3 + 2);
    LevelWriter w(raw, clock);
    Carry carry;
    for (const SoundingLevel& v : s.levels) // levels before the first pump reading take the first one
        if (v.tPump) {
            carry.update(v);
            break;
        }
    carry.update(first);
    for (long long ms = 0; ms < SurfaceMs; ms += 1000)
        w.write(offset + ms, first, carry);
    w.separator(offset + SurfaceMs);
    for (long long ms = SurfaceMs + 500; ms < SurfaceMs + GroundMs; ms += 1000)
        w.write(offset + ms, first, carry);
    for (auto it = firstIt; it != s.levels.end(); ++it) {
        if (!usable(*it))
            continue;
        carry.update(*it);
        w.write(offset + SurfaceMs + GroundMs + std::llround(it->timeSec * 1000), *it, carry);
    }
    const std::pair<std::string, std::string> files[] = {
        {base + ".raw", raw.text()}, {base + ".cfg", formatSoundingConfig(s, first, w.hasGps)}};
    for (const auto& [path, text] : files)
        if (!writeFileAtomically(path, text)) {
            error = "cannot write " + path;
            return false;
        }
    return true;
}

} // namespace lumo::sim
