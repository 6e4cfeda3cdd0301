// The body of the all-data export (.csv): the surface records, then the
// flight records merged in time order with the winds, then launch, burst and
// the column totals.
#include "exportrows.h"
#include "exportwriters.h"
#include "flight/q5.h"

namespace lumo {

namespace {

constexpr const char* BlankGpsPressureAndHeight = "         ,         ,";
constexpr const char* BlankWind = "        ,        ,        ,        ";

void surfaceRows(const Q5& q5, ExportStream& out, ExportRows& rows)
{
    for (const RawRecord& r : q5.sfcRecs) {
        if (r.isPtu()) {
            rows.dateTime(r.time);
            rows.ptuFromPtu(r, true);
            rows.gpsBlank(false);
            out.text(BlankGpsPressureAndHeight).text(BlankWind);
            rows.blankGroups();
        } else if (r.isGps()) {
            rows.dateTime(r.time);
            rows.ptuBlank();
            rows.gpsFix(r, r.data.gps.alt);
            out.text(BlankGpsPressureAndHeight).text(BlankWind);
            rows.blankGroups();
        } else if (r.isOzone()) {
            rows.dateTime(r.time);
            rows.ptuBlank();
            rows.gpsBlank(false);
            out.text(BlankGpsPressureAndHeight).text(BlankWind);
            rows.ozoneGroups(r);
        } else {
            continue;
        }
        out.endLine();
    }
}

void windRow(const WindRecord& w, ExportStream& out, ExportRows& rows)
{
    rows.dateTime(w.time);
    rows.ptuBlank();
    rows.gpsBlank(false);
    out.text(BlankGpsPressureAndHeight);
    out.fixed(w.ws, 8, 1).text(",").fixed(w.wd, 8, 1).text(",");
    rows.windComponents(w);
    rows.blankGroups();
    out.endLine();
}

void heightField(const Q5& q5, ExportStream& out, double hgt)
{
    if (q5.rsPrInst)
        out.known(hgt, 9, 1).text(",");
    else
        out.text("         ,");
}

// One merged pass over the flight records and the winds, both in time order:
// the winds up to a record's time come before the record.
void flightRows(const Q5& q5, ExportStream& out, ExportRows& rows)
{
    const FlightWindow window(q5);
    const bool gpsInstalled = q5.rsGpsInst != 0;
    const WindRecord* wind = q5.windRecs.first();
    const WindRecord* previousWind = nullptr;
    const RawRecord* lastPtu = nullptr;
    const RawRecord* lastGps = nullptr;

    for (const RawRecord& r : q5.fltRecs) {
        for (; wind && wind->time <= r.time; wind = wind->next) {
            if (window.contains(wind->time) && (!previousWind || previousWind->time < wind->time))
                windRow(*wind, out, rows);
            previousWind = wind;
        }

        if (r.isPtu()) {
            lastPtu = &r;
            if (!window.contains(r.time))
                continue;
            rows.dateTime(r.time);
            rows.ptuFromPtu(r, true);
            if (gpsInstalled)
                rows.gpsAltitudeOnly(r.data.ptu.gpsAlt);
            else
                rows.gpsBlank(true);
            heightField(q5, out, r.data.ptu.hgt);
            out.text(BlankWind);
            rows.blankGroups();
        } else if (r.isGps()) {
            lastGps = &r;
            if (!window.contains(r.time))
                continue;
            rows.dateTime(r.time);
            rows.ptuBlank();
            rows.gpsFix(r, r.data.gps.alt);
            // 0 means no pressure could be derived from the GPS altitude.
            if (r.data.gps.gpsP > 0)
                out.fixed(r.data.gps.gpsP, 9, 2).text(",");
            else
                out.text("         ,");
            out.text("         ,").text(BlankWind);
            rows.blankGroups();
        } else if (r.isOzone() && lastPtu && window.contains(r.time)) {
            rows.dateTime(r.time);
            rows.ptuFromOzone(r, *lastPtu);
            if (gpsInstalled && lastGps)
                rows.gpsFixWithPressure(*lastGps, r);
            else
                rows.gpsBlank(true);
            heightField(q5, out, r.data.o3.hgt);
            out.text(BlankWind);
            rows.ozoneGroups(r);
        } else {
            continue;
        }
        out.endLine();
    }
}

} // namespace

bool WriteAllBody(const Q5& q5, std::FILE* file)
{
    if (!file)
        return false;
    ExportStream out(file);
    ExportRows rows(q5, out);

    out.line("Surface:");
    rows.columnHeader(true, ExportSection::Surface);
    surfaceRows(q5, out, rows);

    out.endLine().line("Flight:");
    rows.columnHeader(true, ExportSection::Flight);
    flightRows(q5, out, rows);

    rows.launchBurstAndTotals();
    return out.flush();
}

} // namespace lumo
