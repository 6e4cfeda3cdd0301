#include "exportwriters.h"

#include "exportrows.h"
#include "flight/q5.h"

namespace lumo {

bool WriteExportHeader(const Q5& q5, std::FILE* file, const std::string& srcFileName,
                       const std::string& cfgFileName)
{
    if (!file)
        return false;
    ExportStream out(file);
    out.text("ORVANE T4-Q5 Post Processor Output, version ").line(ExportVersion).endLine();
    out.text("Source file = ").line(srcFileName);
    out.text("Config file = ").line(cfgFileName).endLine();

    out.line("Station:");
    out.text("  Name = ").line(fieldText(q5.stnName));
    out.text("  Latitude = ").fixed(q5.stnLat, 1, 4).endLine();
    out.text("  Longitude = ").fixed(q5.stnLong, 1, 4).endLine();
    out.text("  Altitude = ").fixed(q5.stnAlt, 1, 1).endLine().endLine();

    out.line("Radiosonde:");
    out.text("  SN = ").line(fieldText(q5.rsSondeId));
    out.text("  PID = ").line(fieldText(q5.rsProbeId));
    out.text("  Pin = ").line(q5.rsPrInst ? "yes" : "no");
    out.text("  GPSin = ").line(q5.rsGpsInst ? "yes" : "no").endLine();

    for (int i = 0; i < MaxSondes; ++i) {
        const O3SondeCfg& sonde = q5.o3Sonde[i];
        if (fieldText(sonde.sn).empty())
            continue;
        out.text("Ozonesonde #").integer(i + 1, 0).line(":");
        out.text("  SN = ").line(fieldText(sonde.sn));
        out.text("  Bkg = ").fixed(sonde.bkg, 1, 2).endLine();
        out.text("  Flow = ").fixed(sonde.flow, 1, 1).endLine();
        // Only the standard method says so: the classic header stays as it was.
        const O3MethodResult& method = q5.o3MethodResult[i];
        if (method.method == O3Method::Standard) {
            out.text("  Method = standard (");
            for (std::size_t k = 0; k < method.stepsApplied.size(); ++k)
                out.text(k ? ", " : "").text(method.stepsApplied[k]);
            out.line(")");
        }
        out.endLine();
    }
    out.endLine();
    return out.flush();
}

bool WriteO3Body(const Q5& q5, std::FILE* file)
{
    if (!file)
        return false;
    ExportStream out(file);
    ExportRows rows(q5, out);
    const bool gpsInstalled = q5.rsGpsInst != 0;

    out.line("Surface:");
    rows.columnHeader(false, ExportSection::Surface);
    const RawRecord* lastPtu = nullptr;
    const RawRecord* lastGps = nullptr;
    for (const RawRecord& r : q5.sfcRecs) {
        if (r.isPtu()) {
            lastPtu = &r;
        } else if (r.isGps()) {
            lastGps = &r;
        } else if (r.isOzone() && lastPtu) {
            rows.dateTime(r.time);
            rows.ptuFromPtu(*lastPtu, false);
            if (gpsInstalled && lastGps)
                rows.gpsFix(*lastGps, lastGps->data.gps.alt);
            else
                rows.gpsBlank(false);
            out.text("         ,         ");
            rows.ozoneGroups(r);
            out.endLine();
        }
    }

    out.endLine().line("Flight:");
    rows.columnHeader(false, ExportSection::Flight);
    const FlightWindow window(q5);
    lastPtu = nullptr;
    lastGps = nullptr;
    for (const RawRecord& r : q5.fltRecs) {
        if (r.isPtu()) {
            lastPtu = &r;
        } else if (r.isGps()) {
            lastGps = &r;
        } else if (r.isOzone() && lastPtu && window.contains(r.time)) {
            rows.dateTime(r.time);
            rows.ptuFromOzone(r, *lastPtu);
            if (gpsInstalled && lastGps)
                rows.gpsFixWithPressure(*lastGps, r);
            else
                rows.gpsBlank(true);
            if (q5.rsPrInst)
                out.known(r.data.o3.hgt, 9, 1);
            else
                out.spaces(9);
            rows.ozoneGroups(r);
            out.endLine();
        }
    }

    rows.launchBurstAndTotals();
    return out.flush();
}

bool WriteWindBody(const Q5& q5, std::FILE* file)
{
    if (!file)
        return false;
    ExportStream out(file);
    ExportRows rows(q5, out);
    out.line("Flight:");
    out.line("   PC_date,      PC_time,  Alt(m), Ws(m/s), Wd(deg),  u(m/s),  v(m/s)");
    const FlightWindow window(q5);
    const WindRecord* previous = nullptr;
    for (const WindRecord& w : q5.windRecs) {
        // A wind at the time of the one before it adds nothing; keep the first.
        if (window.contains(w.time) && (!previous || previous->time < w.time)) {
            rows.dateTime(w.time);
            out.fixed(w.alt, 8, 1).text(",").fixed(w.ws, 8, 1).text(",").fixed(w.wd, 8, 1).text(",");
            rows.windComponents(w);
            out.endLine();
        }
        previous = &w;
    }
    return out.flush();
}

} // namespace lumo
