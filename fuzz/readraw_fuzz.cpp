// The raw telemetry decoder on arbitrary file content: no memory fault, a
// failed read leaves no records, and every record kept carries finite values
// of a known packet type.
#include <cstdint>

#include "flight/q5.h"
#include "fuzzsupport.h"

namespace {

void checkRecord(const lumo::RawRecord& r)
{
    using lumo::fuzz::requireFinite;
    requireFinite(r.time, "time");
    if (r.type < lumo::TypePtu || r.type > lumo::TypeGpsVel)
        lumo::fuzz::fail("record of an unknown packet type kept");
    if (r.packetSize < 2 || r.packetSize > lumo::MaxPacketBytes)
        lumo::fuzz::fail("packet size out of range");
    if (r.isPtu()) {
        const lumo::PtuData& d = r.data.ptu;
        for (double v : {d.p, d.t, d.u, d.vbat, d.tint, d.tpr, d.tu})
            requireFinite(v, "PTU value");
    } else if (r.isGps()) {
        const lumo::GpsData& d = r.data.gps;
        for (double v : {d.lat, d.lon, d.alt, d.ewv, d.nsv, d.udv})
            requireFinite(v, "GPS value");
    } else if (r.isOzone()) {
        const lumo::O3Data& d = r.data.o3;
        for (double v : {d.ic, d.tp, d.ip, d.o3Bat})
            requireFinite(v, "ozone value");
    }
}

void checkList(const lumo::RecordList<lumo::RawRecord>& list)
{
    std::size_t n = 0;
    const lumo::RawRecord* prev = nullptr;
    for (const lumo::RawRecord& r : list) {
        if (r.prev != prev)
            lumo::fuzz::fail("broken list links");
        checkRecord(r);
        prev = &r;
        ++n;
    }
    if (n != list.size() || list.last() != prev)
        lumo::fuzz::fail("list size or tail wrong");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const fuzz::ScratchFile file("raw", data, size);
    Q5 q5;
    if (!q5.ReadRaw(file.path())) {
        if (!q5.sfcRecs.empty() || !q5.fltRecs.empty())
            fuzz::fail("records left after a failed read");
        return 0;
    }
    checkList(q5.sfcRecs);
    checkList(q5.fltRecs);
    // A second read of the same file replaces the records with the same ones.
    const std::size_t sfc = q5.sfcRecs.size(), flt = q5.fltRecs.size();
    if (!q5.ReadRaw(file.path()) || q5.sfcRecs.size() != sfc || q5.fltRecs.size() != flt)
        fuzz::fail("second read differs");
    return 0;
}
