#include "records.h"

#include <cstddef>
#include <memory>
#include <string>

#include <pybind11/numpy.h>

#include "fileproblems.h"
#include "flight/q5.h"

namespace lumo::python {

namespace py = pybind11;

namespace {

// The columns of one record class; `flight` tells the flight list from the
// surface list (records logged before the separator line).
struct PtuRow {
    bool flight;
    double time;
    std::uint8_t type;
    std::int32_t frame;
    double p, t, u, vbat, tint, tpr, tu;
};
struct GpsRow {
    bool flight;
    double time;
    std::uint8_t type;
    double lat, lon, alt, ewv, nsv, udv;
    std::int32_t nSats, gpsHour, gpsMin, gpsSec;
};
struct OzoneRow {
    bool flight;
    double time;
    std::uint8_t o3Num;
    double ic, tp, ip, o3Bat;
};

template <typename Row, typename Fill>
py::array table(const Q5& q, bool (RawRecord::*is)() const, Fill fill)
{
    std::size_t n = 0;
    for (const auto* list : {&q.sfcRecs, &q.fltRecs})
        for (const RawRecord& r : *list)
            n += (r.*is)();
    py::array_t<Row> a(static_cast<py::ssize_t>(n));
    Row* out = a.mutable_data();
    for (const auto* list : {&q.sfcRecs, &q.fltRecs})
        for (const RawRecord& r : *list)
            if ((r.*is)())
                *out++ = fill(list == &q.fltRecs, r);
    return a;
}

// numpy is loaded on the first decode, so that importing the module does
// not need it. Runs with the GIL held.
void registerRowTypes()
{
    static bool done = false;
    if (done)
        return;
    PYBIND11_NUMPY_DTYPE(PtuRow, flight, time, type, frame, p, t, u, vbat, tint, tpr, tu);
    PYBIND11_NUMPY_DTYPE(GpsRow, flight, time, type, lat, lon, alt, ewv, nsv, udv, nSats, gpsHour, gpsMin, gpsSec);
    PYBIND11_NUMPY_DTYPE(OzoneRow, flight, time, o3Num, ic, tp, ip, o3Bat);
    done = true;
}

py::dict decode(const py::object& raw)
{
    registerRowTypes();
    const std::string path = py::module_::import("os").attr("fsdecode")(raw).cast<std::string>();
    auto q5 = std::make_unique<Q5>();
    std::string problem;
    {
        py::gil_scoped_release unlocked;
        problem = batch::rawFileProblem(*q5, path);
    }
    if (!problem.empty()) {
        const py::object e = py::module_::import("lumo").attr("LoadError")(
            "Error loading flight data, load aborted: " + problem + ".", path);
        PyErr_SetObject(e.get_type().ptr(), e.ptr());
        throw py::error_already_set();
    }
    const Q5& q = *q5;
    py::dict d;
    d["ptu"] = table<PtuRow>(q, &RawRecord::isPtu, [](bool f, const RawRecord& r) {
        const PtuData& x = r.data.ptu;
        return PtuRow{f, r.time, r.type, x.frame, x.p, x.t, x.u, x.vbat, x.tint, x.tpr, x.tu};
    });
    d["gps"] = table<GpsRow>(q, &RawRecord::isGps, [](bool f, const RawRecord& r) {
        const GpsData& x = r.data.gps;
        return GpsRow{f, r.time, r.type, x.lat, x.lon, x.alt, x.ewv, x.nsv, x.udv, x.nSats, x.gpsHour, x.gpsMin, x.gpsSec};
    });
    d["ozone"] = table<OzoneRow>(q, &RawRecord::isOzone, [](bool f, const RawRecord& r) {
        const O3Data& x = r.data.o3;
        return OzoneRow{f, r.time, x.o3Num, x.ic, x.tp, x.ip, x.o3Bat};
    });
    py::dict counts;
    counts["o3Count"] = q.o3Count;
    counts["hasPtuExt"] = q.hasPtuExt != 0;
    counts["hasGpsVel"] = q.hasGpsVel != 0;
    counts["sfc"] = q.sfcRecs.size();
    counts["flt"] = q.fltRecs.size();
    d["summary"] = counts;
    return d;
}

} // namespace

void bindRecords(py::module_& m)
{
    m.def("decode", &decode, pybind11::arg("raw"),
          "Decodes a raw telemetry file as the import does: a dict of numpy structured arrays \"ptu\"\n"
          "(p hPa, t degC, u %, vbat V, tint, tpr, tu), \"gps\" (lat, lon deg, alt m, ewv, nsv, udv m/s,\n"
          "nSats, gpsHour, gpsMin, gpsSec) and \"ozone\" (o3Num, ic uA, tp degC, ip mA, o3Bat V), each\n"
          "with flight (False: logged before the separator line), time (days since 1899-12-30) and, for\n"
          "PTU and GPS, the packet type; and \"summary\" as lumo-batch decode prints it. Other packets are\n"
          "counted in the summary only. Raises LoadError when the file cannot be decoded.");
}

} // namespace lumo::python
