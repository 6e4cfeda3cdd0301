#include "flightsimulator.h"

#include <cmath>

#include "atmosphere.h"
#include "flight/atomicfile.h"
#include "numberformat.h"
#include "ozoneprofile.h"
#include "rawfilewriter.h"
#include "telemetry.h"
#include "trajectory.h"
#include "windprofile.h"

namespace lumo::sim {

namespace {

std::string serial(Random& rng, char prefix, int digits)
{
    std::string s(1, prefix);
    for (int i = 0; i < digits; ++i)
        s += static_cast<char>('0' + rng.integer(0, 9));
    return s;
}

double round2(double v) { return std::round(v * 100) / 100; }

// The cells of the chain: the family of each serial number, unless the
// options name one (the serial's model letters then follow it). Their own
// random stream keeps every other number of the flight as it was.
void setUpCells(const SimOptions& o, double surfaceP, std::vector<OzonesondeSetup>& chain)
{
    Random rng = Random::stream(o.seed, 7);
    for (auto& s : chain) {
        CellFamily family = s.sn.rfind("2Z", 0) == 0 ? CellFamily::Z : CellFamily::SixA;
        if (o.cell.family && *o.cell.family != family) {
            family = *o.cell.family;
            s.sn.replace(0, 2, familyModel(family));
        }
        makeCell(o.cell, family, surfaceP, rng, s.cell);
        s.hasCell = true;
        s.bkg = s.cell.ib2; // the classic equation's background: the last one before launch
    }
}

} // namespace

SimulatedFlight simulateFlight(const SimOptions& o)
{
    SimulatedFlight f;
    f.options = o;
    f.tables = CorrectionTables::standard();

    // Separate random streams per concern: the weather does not change
    // when, say, the number of ozonesondes or the fault rates change.
    Random atmRng = Random::stream(o.seed, 1);
    Random ozoneRng = Random::stream(o.seed, 2);
    Random windRng = Random::stream(o.seed, 3);
    Random flightRng = Random::stream(o.seed, 4);
    Random chainRng = Random::stream(o.seed, 5);

    const Atmosphere atm(o, atmRng);
    f.ozone = OzoneProfile(o.profile, ozoneRng);
    const OzoneProfile& ozone = f.ozone;
    const WindProfile winds(o.profile, atm.tropopauseHeight(), windRng);
    const Trajectory path(o, atm, winds, flightRng);
    f.chain = makeChain(o.sondes, chainRng);
    f.radiosondeId = serial(chainRng, 'S', 7);
    f.probeId = serial(chainRng, 'P', 6);
    if (o.cell.enabled)
        setUpCells(o, atm.surfacePressure(), f.chain);

    f.surface.p = round2(atm.surfacePressure());
    f.surface.t = round2(atm.surfaceTemperature());
    f.surface.u = round2(atm.surfaceHumidity());
    for (const auto& s : f.chain)
        f.surface.o3[s.position - 1] = ozone.partialPressure(atm.surfacePressure()) * s.response;

    const StationClock clock(o.year, o.month, o.day, o.hour, o.minute, o.second);
    const auto ms = [](double t) { return std::llround(t * 1000); };
    f.launchTime = clock.dateTime(ms(path.launchTime()));
    f.burstTime = clock.dateTime(ms(path.burstTime()));
    f.burstHeight = path.at(path.burstTime()).z;
    f.burstPressure = atm.pressureAt(f.burstHeight);

    // Columns each ozonesonde would measure with a perfect reading: from the
    // ground to the burst and the rest of the atmosphere above it.
    for (const auto& s : f.chain) {
        f.columnToBurst[s.position - 1] = ozone.column(atm.surfacePressure(), f.burstPressure, s.response);
        f.columnAboveBurst[s.position - 1] = ozone.columnAbove(f.burstPressure, s.response);
    }

    for (double t = path.separatorTime(); t <= path.endTime(); t += o.truthStep) {
        const FlightState s = path.at(t);
        TruthPoint pt;
        pt.time = clock.dateTime(ms(t));
        pt.z = s.z;
        pt.p = atm.pressureAt(s.z);
        pt.t = atm.temperature(s.z);
        pt.u = atm.humidity(s.z);
        for (const auto& sonde : f.chain)
            pt.o3[sonde.position - 1] = ozone.partialPressure(pt.p) * sonde.response;
        const Wind w = winds.at(s.z);
        pt.windDir = w.direction();
        pt.windSpeed = w.speed();
        pt.phase = t < path.launchTime() ? Phase::Ground : t < path.burstTime() ? Phase::Ascent : Phase::Descent;
        f.profile.push_back(pt);
    }

    RawFileWriter raw(clock);
    const FlightModel model{o, atm, ozone, path, f.tables, f.chain, clock, f.surface.p};
    f.counts = generateTelemetry(model, raw);
    f.raw = raw.release();
    return f;
}

bool writeFlight(const SimulatedFlight& f, const std::string& base, std::string& error)
{
    const std::pair<std::string, std::string> files[] = {
        {base + ".raw", f.raw}, {base + ".cfg", formatConfig(f)}, {base + ".truth.json", formatTruth(f)}};
    for (const auto& [path, text] : files) {
        if (!writeFileAtomically(path, text)) {
            error = "cannot write " + path;
            return false;
        }
    }
    return true;
}

} // namespace lumo::sim
