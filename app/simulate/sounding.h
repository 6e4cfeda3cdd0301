#pragma once

#include <optional>
#include <string>
#include <vector>

#include "correctiontables.h"

namespace lumo::sim {

// One level of a published sounding; a value the file does not give is
// unknown.
struct SoundingLevel {
    double timeSec = 0;               // after launch
    std::optional<double> p, z, t, u; // hPa, geopotential m, degC, %RH
    std::optional<double> lat, lon, gpsAlt; // degrees, m
    std::optional<double> tPump;      // degC, as the thermistor reads
    std::optional<double> current;    // cell current, uA
    std::optional<double> pO3;        // published partial pressure, mPa
    std::optional<double> pumpCurrent, battery; // mA, V
};

// A published ozone sounding with what its processing used.
struct Sounding {
    std::string station = "Unknown";
    double lat = 0, lon = 0, alt = 0; // degrees, m
    int year = 0, month = 0, day = 0;
    double launchHourUt = 0;
    std::string sonde, radiosonde;    // serial numbers
    std::string thermistor;           // box, taped, glued, internal; empty when unknown
    std::optional<double> flow;       // s per 100 ml, as measured
    std::optional<double> flowTempC, flowHumidity;
    std::optional<double> humidityFactor; // applied to the flow by the data centre
    std::vector<TableRow> pumpTable;  // inverse pump efficiencies, falling pressure
    std::optional<double> ib0, ib1, ib2, background; // uA; background = the one used
    std::optional<double> kiPct, buffer, solutionVolume;
    std::optional<double> column, residual; // DU, published (column with the residual)
    std::optional<double> surfaceO3;  // mPa
    std::vector<SoundingLevel> levels;
    bool invertedCurrent = false; // the current was computed from the published partial pressure
};

// Reads an NDACC NASA-Ames 2160 ozonesonde file as NOAA writes them (time
// after launch as the independent variable, the cell current among the
// variables); false with a reason when the file is not of that form.
bool readAmesSounding(const std::string& path, Sounding& out, std::string& error);

// Reads a SHADOZ file (versions 5 and 6) with its cell current column; the
// pump table is the one its header names (Komhyr 1986 or 1995), the GPS
// columns are told apart by the station's latitude.
bool readShadozSounding(const std::string& path, Sounding& out, std::string& error);

// Reads a WOUDC extended CSV ozonesonde file; it has no cell current.
bool readWoudcSounding(const std::string& path, Sounding& out, std::string& error);

// Any of these forms, told by its first lines.
bool readSounding(const std::string& path, Sounding& out, std::string& error);

// The sounding as Lumo's input: BASE.raw with the measured readings (the
// surface period repeats the first level, as the file starts at launch)
// and BASE.cfg with the settings of the published processing. A sounding
// without a cell current gets the one that the classic equation, with flat
// tables and no background, turns back into its published partial pressure
// (so only the classic method reproduces it). False with a reason when the
// sounding has neither or cannot be written.
bool writeSoundingFlight(const Sounding& s, const std::string& base, std::string& error);

} // namespace lumo::sim
