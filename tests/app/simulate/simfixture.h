#pragma once

#include <string>

#include "flight/q5.h"
#include "flightsimulator.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

namespace lumo::test {

// A simulated flight written to a scratch folder and read back with the
// application's readers.
struct LoadedFlight {
    sim::SimulatedFlight flight;
    TempDir dir;
    Q5 q5;
    bool configRead = false;
    bool rawRead = false;

    explicit LoadedFlight(const sim::SimOptions& options) : flight(sim::simulateFlight(options))
    {
        std::string error;
        const std::string base = dir.file("flight");
        if (!sim::writeFlight(flight, base, error))
            return;
        const ImportResult imported = importFlight(q5, base + ".raw", base + ".cfg");
        configRead = imported.configRead;
        rawRead = imported.ok();
    }
    std::string path(const std::string& ext) const { return dir.file("flight" + ext); }
};

struct RecordCounts {
    std::size_t ptu = 0, gps = 0, aux = 0, ptuExt = 0, gpsVel = 0, other = 0;
    std::size_t ozone[4] = {};
};

inline RecordCounts countRecords(const RecordList<RawRecord>& list)
{
    RecordCounts c;
    for (const RawRecord* r = list.first(); r; r = r->next) {
        if (r->isPtu()) {
            ++c.ptu;
            c.ptuExt += r->type == TypePtuExt;
        } else if (r->isGps()) {
            ++c.gps;
            c.gpsVel += r->type == TypeGpsVel;
        } else if (r->isOzone() && r->o3Slot() >= 0) {
            ++c.ozone[r->o3Slot()];
        } else if (r->type == TypeAux) {
            ++c.aux;
        } else {
            ++c.other;
        }
    }
    return c;
}

// Linear interpolation of the truth profile at a date-time.
inline const sim::TruthPoint* truthBracket(const sim::SimulatedFlight& f, double time, double& weight)
{
    const auto& p = f.profile;
    if (p.size() < 2 || time < p.front().time || time >= p.back().time)
        return nullptr;
    std::size_t lo = 0, hi = p.size() - 1;
    while (hi - lo > 1) {
        const std::size_t mid = (lo + hi) / 2;
        (p[mid].time <= time ? lo : hi) = mid;
    }
    weight = (time - p[lo].time) / (p[hi].time - p[lo].time);
    return &p[lo];
}

} // namespace lumo::test
