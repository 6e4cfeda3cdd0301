#pragma once

#include <string>
#include <vector>

namespace lumo::sim {

struct TableRow {
    double p;      // hPa
    double factor;
};

// The two pressure-dependent ozonesonde corrections shared by the chain,
// ordered by falling pressure, with the look-ups the processing applies:
// the cell-background factor (held constant below the last row) and the
// pump-efficiency factor (extrapolated from the last two rows).
struct CorrectionTables {
    std::vector<TableRow> background;
    std::vector<TableRow> efficiency;

    // Inverse pump efficiency of ECC pumps at low pressure (the table NOAA
    // publishes with its Boulder soundings) and a cell background that
    // scales with the oxygen partial pressure, i.e. with pressure.
    static CorrectionTables standard();

    double backgroundFactor(double p) const;
    double efficiencyFactor(double p) const;
    // The configured background current referred to the table factor at
    // the surface pressure: the processing multiplies it by the factor at
    // the sample's pressure again.
    double backgroundAtSurface(double bkg, double surfaceP) const;
};

// Rows as "%-8.1lf %1.3lf" with CR LF, the correction-table file format.
std::string formatTableFile(const std::vector<TableRow>& rows);

} // namespace lumo::sim
