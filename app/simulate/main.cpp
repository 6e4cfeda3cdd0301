// lumo-simulate: writes a simulated ozone sounding (raw telemetry file,
// flight configuration and the true profile) and the correction and
// residual tables that go with it.

#include <cstdio>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include <CLI/CLI.hpp>

#include "correctiontables.h"
#include "flight/atomicfile.h"
#include "flightsimulator.h"
#include "numberformat.h"
#include "residualtable.h"
#include "simoptions.h"
#include "sounding.h"

namespace {

using namespace lumo::sim;

bool parseDate(const std::string& s, SimOptions& o)
{
    return std::sscanf(s.c_str(), "%d/%d/%d", &o.year, &o.month, &o.day) == 3;
}

bool parseTime(const std::string& s, SimOptions& o)
{
    return std::sscanf(s.c_str(), "%d:%d:%d", &o.hour, &o.minute, &o.second) == 3;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "lumo-simulate: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    SimOptions o;
    std::string out, profile, date, time, effFile, bkgFile, tozFile;
    double faults = 0;
    bool noGps = false, noPressure = false;
    FaultRates rates;

    CLI::App app{"Simulates a balloon-borne ozone sounding and writes BASE.raw (telemetry as the ground\n"
                 "station logs it), BASE.cfg (flight configuration) and BASE.truth.json (the true profile\n"
                 "and true ozone columns). The same options and seed always give the same bytes.",
        "lumo-simulate"};
    app.option_defaults()->always_capture_default();
    app.add_option("--out", out, "Base path of the output files (BASE.raw, BASE.cfg, BASE.truth.json)");
    app.add_option("--seed", o.seed, "Seed of the simulation");
    app.add_option("--sondes", o.sondes, "Ozonesondes in the chain")->check(CLI::Range(1, 4));
    app.add_option("--burst-km", o.burstKm, "Burst height above sea level, km");
    app.add_option("--surface-min", o.surfaceMin, "Minutes logged before the separator line (surface period)");
    app.add_option("--duration-min", o.durationMin,
        "Minutes of telemetry after the separator line; 0 = until the landing (never cut before the burst)");
    app.add_option("--ground-s", o.groundSec, "Seconds on the ground after the separator line before the launch");
    app.add_flag("--no-gps", noGps, "No GPS receiver: no GPS packets, GPS_inst=0");
    app.add_flag("--no-pressure", noPressure,
        "No pressure sensor: P_inst=0; the PTU pressure field then carries a coarse GPS-derived pressure");
    app.add_flag("--gps-velocities", o.gpsVelocities, "GPS packets of type 5 with velocities (else type 2)");
    app.add_flag("--extended-ptu", o.extendedPtu, "Extended PTU packets of type 4 with sensor temperatures (else type 1)");
    app.add_option("--profile", profile,
                      "Atmosphere, ozone and wind climatology: tropical, midlat or polar (default: from --lat)")
        ->check(CLI::IsMember({"tropical", "midlat", "polar"}));

    auto* station = "Station";
    app.add_option("--station", o.stationName, "Station name (at most 40 characters)")->group(station);
    app.add_option("--lat", o.stnLat, "Station latitude, degrees north")->group(station);
    app.add_option("--long", o.stnLong, "Station longitude, degrees east")->group(station);
    app.add_option("--alt", o.stnAlt, "Station altitude, m")->group(station);
    app.add_option("--p-offset", o.pressureOffset, "Added to the standard sea-level pressure 1013.25 hPa, hPa")
        ->group(station);
    app.add_option("--t-offset", o.temperatureOffset,
                      "Added to the surface temperature, fading out up to the tropopause, K")
        ->group(station);
    app.add_option("--date", date, "Date of the start of the surface period, yyyy/mm/dd (default 2026/06/15)")
        ->group(station);
    app.add_option("--time", time, "Station time at the start of the surface period, hh:mm:ss (default 10:30:00)")
        ->group(station);

    auto* flight = "Flight and telemetry";
    app.add_option("--ascent-rate", o.ascentRate, "Mean ascent rate, m/s")->group(flight);
    app.add_option("--landing-rate", o.landingRate, "Parachute descent rate near the ground, m/s")->group(flight);
    app.add_option("--ptu-period", o.ptuPeriod, "Seconds between PTU packets")->group(flight);
    app.add_option("--gps-period", o.gpsPeriod, "Seconds between GPS fixes")->group(flight);
    app.add_option("--ozone-period", o.ozonePeriod, "Seconds between packets of each ozonesonde")->group(flight);
    app.add_option("--aux-period", o.auxPeriod,
                      "Seconds between packets of another auxiliary instrument (type 3, kind 2..5); 0 = none")
        ->group(flight);
    app.add_option("--truth-step", o.truthStep, "Seconds between points of the true profile")->group(flight);

    auto* faultGroup = "Faults (rates 0..1: about that fraction of the lines is affected)";
    app.add_option("--faults", faults, "Sets every fault rate below at once (they are 0 unless given)")
        ->group(faultGroup);
    app.add_option("--fault-duplicate", rates.duplicate, "Lines logged twice with the same time stamp")->group(faultGroup);
    app.add_option("--fault-bad-ptu", rates.badPtu, "PTU packets with a pressure outside 1..1200 hPa")->group(faultGroup);
    app.add_option("--fault-bad-gps", rates.badGps, "GPS fixes without a valid position")->group(faultGroup);
    app.add_option("--fault-unknown", rates.unknownType, "Packets of unknown types")->group(faultGroup);
    app.add_option("--fault-early-ozone", rates.earlyOzone,
                      "Radiosonde starts RATE x 5 min (at least 5 s) after the ozonesondes")
        ->group(faultGroup);
    app.add_option("--fault-gap", rates.streamGap, "Gaps of 5 to 30 s in single streams")->group(faultGroup);
    app.add_option("--fault-dropout", rates.dropout, "Telemetry dropouts of 5 to 60 s")->group(faultGroup);
    app.add_option("--fault-cut-km", o.cutKm,
           "Truncated file: telemetry ends when the ascent reaches this height, km (0 = off; --burst-km sets a low burst)")
        ->group(faultGroup);
    app.add_option("--fault-dead-cell", o.deadCell,
           "Chain position (1..4) whose ozone cell gives only its background current in flight (0 = none)")
        ->group(faultGroup);

    auto* cellGroup = "Cell (any of these turns the cell model on; unset values from the sonde type and solution)";
    bool cellResponse = false, noMoistening = false;
    std::string sondeType, thermistor = "box";
    double kiPct = 0, buffer = 0, tauFast = 0, beta = 0, calA = 0, calB = 0;
    app.add_flag("--cell-response", cellResponse,
           "Cell current from the cell's chemistry: fast and slow reaction pathways, calibration excess,\n"
           "pump efficiency by sonde type, thermistor offsets and the in-flight flow, all by the table values")
        ->group(cellGroup);
    app.add_option("--sonde-type", sondeType, "6A or Z for every sonde (default: each serial number's model)")
        ->check(CLI::IsMember({"6A", "Z"}))
        ->group(cellGroup);
    app.add_option("--ki-pct", kiPct, "KI concentration, % (default: 1.0 for 6A, 0.5 for Z)")
        ->default_str("by type")->group(cellGroup);
    app.add_option("--buffer", buffer, "Buffer fraction: 1 full, 0.5 half, 0.1 (default: 1 for 6A, 0.5 for Z)")
        ->default_str("by type")
        ->group(cellGroup);
    app.add_option("--tau-fast", tauFast, "Fast time constant, s; 0 = no lag (default 21 for 6A, 25 for Z)")
        ->default_str("by type")
        ->group(cellGroup);
    app.add_option("--tau-slow", o.cell.tauSlow, "Slow time constant, s")->group(cellGroup);
    app.add_option("--beta", beta, "Share of the slow pathway; 0 = none (default by type and solution)")
        ->default_str("by type")->group(cellGroup);
    app.add_option("--cal-a", calA, "Calibration excess R = a + b log10 p: a, % (default by type and solution)")
        ->default_str("by type")->group(cellGroup);
    app.add_option("--cal-b", calB, "Calibration excess: b, %")
        ->default_str("by type")->group(cellGroup);
    app.add_option("--thermistor", thermistor, "Place of the pump thermistor")
        ->check(CLI::IsMember({"box", "taped", "glued", "internal"}))
        ->group(cellGroup);
    app.add_flag("--no-moistening", noMoistening, "The pump flows in flight as measured in the laboratory")
        ->group(cellGroup);
    app.add_option("--cell-noise", o.cell.noise, "White noise on each reading of the cell current, uA")
        ->group(cellGroup);

    std::string soundingFile;
    app.add_option("--from-sounding", soundingFile,
           "Re-encode a published sounding instead of simulating one: an NDACC NASA-Ames 2160 file with the\n"
           "cell current (as NOAA writes them) or a SHADOZ file becomes BASE.raw and BASE.cfg with the\n"
           "settings of its processing")
        ->check(CLI::ExistingFile);

    auto* tables = "Tables";
    app.add_option("--write-eff", effFile, "Also write the pump-efficiency table to this file")->group(tables);
    app.add_option("--write-bkg", bkgFile, "Also write the cell-background table to this file")->group(tables);
    app.add_option("--write-toz", tozFile, "Also write a residual-ozone table of all latitude bands to this file")
        ->group(tables);

    CLI11_PARSE(app, argc, argv);

    o.gps = !noGps;
    o.pressureSensor = !noPressure;
    o.faults = rates;
    if (app.count("--faults") > 0)
        o.faults.setAll(faults);
    o.profile = profileForLatitude(o.stnLat);
    if (profile == "tropical")
        o.profile = ProfileKind::Tropical;
    else if (profile == "midlat")
        o.profile = ProfileKind::MidLatitude;
    else if (profile == "polar")
        o.profile = ProfileKind::Polar;
    CellOptions& cell = o.cell;
    const auto given = [&app](const char* name) { return app.count(name) > 0; };
    cell.enabled = cellResponse;
    for (const char* name : {"--sonde-type", "--ki-pct", "--buffer", "--tau-fast", "--tau-slow", "--beta", "--cal-a",
             "--cal-b", "--thermistor", "--no-moistening", "--cell-noise"})
        cell.enabled = cell.enabled || given(name);
    if (CellFamily f; parseFamily(sondeType, f))
        cell.family = f;
    const std::pair<const char*, std::optional<double>*> values[] = {{"--ki-pct", &cell.kiPct},
        {"--buffer", &cell.buffer}, {"--tau-fast", &cell.tauFast}, {"--beta", &cell.beta}, {"--cal-a", &cell.calA},
        {"--cal-b", &cell.calB}};
    const double* read[] = {&kiPct, &buffer, &tauFast, &beta, &calA, &calB};
    for (std::size_t i = 0; i < std::size(values); ++i)
        if (given(values[i].first))
            *values[i].second = *read[i];
    parseThermistor(thermistor, cell.thermistor);
    cell.moistening = !noMoistening;
    if (!date.empty() && !parseDate(date, o))
        return fail("the date must be yyyy/mm/dd");
    if (!time.empty() && !parseTime(time, o))
        return fail("the time must be hh:mm:ss");
    if (out.empty() && effFile.empty() && bkgFile.empty() && tozFile.empty())
        return fail("nothing to write: give --out BASE (see --help)");

    if (!soundingFile.empty()) {
        if (out.empty())
            return fail("--from-sounding needs --out BASE");
        Sounding sounding;
        std::string error;
        if (!readSounding(soundingFile, sounding, error) || !writeSoundingFlight(sounding, out, error))
            return fail(error);
        std::printf("%s.raw: %zu levels of %s, %d/%02d/%02d\n", out.c_str(), sounding.levels.size(),
            sounding.station.c_str(), sounding.year, sounding.month, sounding.day);
        return 0;
    }

    const CorrectionTables standard = CorrectionTables::standard();
    if (!effFile.empty() && !lumo::writeFileAtomically(effFile, formatTableFile(standard.efficiency)))
        return fail("cannot write " + effFile);
    if (!bkgFile.empty() && !lumo::writeFileAtomically(bkgFile, formatTableFile(standard.background)))
        return fail("cannot write " + bkgFile);
    if (!tozFile.empty() && !lumo::writeFileAtomically(tozFile, formatResidualTable()))
        return fail("cannot write " + tozFile);
    if (out.empty())
        return 0;

    if (const std::string problem = o.validate(); !problem.empty())
        return fail(problem);
    const SimulatedFlight f = simulateFlight(o);
    std::string error;
    if (!writeFlight(f, out, error))
        return fail(error);

    std::printf("%s.raw: %zu lines, %s profile, burst at %s hPa (%s m)\n", out.c_str(), f.counts.lines,
        profileName(o.profile), formatFixed(f.burstPressure, 2).c_str(), formatFixed(f.burstHeight, 0).c_str());
    for (const auto& s : f.chain)
        std::printf("ozonesonde %d (%s): %s DU to burst + %s DU above\n", s.position, s.sn.c_str(),
            formatFixed(f.columnToBurst[s.position - 1], 1).c_str(),
            formatFixed(f.columnAboveBurst[s.position - 1], 1).c_str());
    return 0;
}
