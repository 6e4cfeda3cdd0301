#include "flight.h"

#include <filesystem>
#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "batchexports.h"
#include "convert.h"
#include "fileproblems.h"
#include "flight/datetime.h"
#include "output/archiveprofile.h"

namespace lumo::python {

namespace {

using namespace pybind11::literals;

[[noreturn]] void osError(const std::string& message)
{
    PyErr_SetString(PyExc_OSError, message.c_str());
    throw py::error_already_set();
}

// One ozonesonde's column: None where the run could not determine a value.
struct Sonde {
    int slot = 0;
    std::string serial;
    py::object measured, residual, total, topMix;
    py::object measuredUncertainty, residualUncertainty, totalUncertainty, correctionFactor;
};

struct Warning {
    std::string code;
    std::string message;
    py::dict values;
};

struct TropopauseLevel {
    double pressure = 0, height = 0, temperature = 0;
    bool confirmed = false;
};

py::object tropopause(const py::dict& summary, const char* name)
{
    const py::object t = summary[name];
    if (t.is_none())
        return py::none();
    return py::cast(TropopauseLevel{t["pressure"].cast<double>(), t["height"].cast<double>(),
                                    t["temperature"].cast<double>(), t["confirmed"].cast<bool>()});
}

py::object recordTime(const RawRecord* r) { return r ? utcDateTime(r->time) : py::object(py::none()); }

std::vector<Sonde> sondes(const Flight& f)
{
    std::vector<Sonde> list;
    for (const py::handle s : f.summary["sondes"]) {
        Sonde o;
        o.slot = s["slot"].cast<int>();
        o.serial = s["sn"].cast<std::string>();
        o.measured = s["measured"];
        o.residual = s["residual"];
        o.total = s["total"];
        o.topMix = s["topMix"];
        o.measuredUncertainty = s["measuredUncertainty"];
        o.residualUncertainty = s["residualUncertainty"];
        o.totalUncertainty = s["totalUncertainty"];
        o.correctionFactor = s["correctionFactor"];
        list.push_back(std::move(o));
    }
    return list;
}

std::vector<Warning> warnings(const Flight& f)
{
    std::vector<Warning> list;
    for (const py::handle w : f.summary["warnings"])
        list.push_back(Warning{w["code"].cast<std::string>(), w["message"].cast<std::string>(),
                               py::dict(w["values"])});
    return list;
}

// The levels of one part of an archive profile as numpy arrays, unknown
// values NaN (the archive profile's own unknown).
py::dict levelArrays(const std::vector<ArchiveLevel>& levels)
{
    struct Column {
        const char* name;
        double ArchiveLevel::*member;
    };
    static constexpr Column columns[] = {
        {"time", &ArchiveLevel::duration},          {"pressure", &ArchiveLevel::pressure},
        {"o3pp_mpa", &ArchiveLevel::o3pp},          {"o3pp_uncertainty_mpa", &ArchiveLevel::o3ppUnc},
        {"o3_mixing_ratio_ppmv", &ArchiveLevel::o3Mix}, {"temperature", &ArchiveLevel::temperature},
        {"humidity", &ArchiveLevel::humidity},      {"geopotential_height", &ArchiveLevel::gph},
        {"latitude", &ArchiveLevel::lat},           {"longitude", &ArchiveLevel::lon},
        {"gps_altitude", &ArchiveLevel::gpsAlt},    {"wind_speed", &ArchiveLevel::windSpeed},
        {"wind_direction", &ArchiveLevel::windDir}, {"pump_temperature", &ArchiveLevel::pumpTemp},
        {"cell_current", &ArchiveLevel::cellCurrent}, {"pump_current", &ArchiveLevel::pumpCurrent},
        {"battery", &ArchiveLevel::battery},
    };
    py::dict out;
    const auto n = static_cast<py::ssize_t>(levels.size());
    for (const Column& c : columns) {
        py::array_t<double> a(n);
        double* p = a.mutable_data();
        for (py::ssize_t i = 0; i < n; ++i)
            p[i] = levels[static_cast<std::size_t>(i)].*c.member;
        out[c.name] = a;
    }
    py::array_t<int> codes(n);
    for (py::ssize_t i = 0; i < n; ++i)
        codes.mutable_data()[i] = levels[static_cast<std::size_t>(i)].levelCode;
    out["level_code"] = codes;
    return out;
}

py::dict profile(const Flight& f, int sonde, const std::string& part)
{
    if (part != "ascent" && part != "descent" && part != "prelaunch")
        throw py::value_error("part must be \"ascent\", \"descent\" or \"prelaunch\", not \"" + part + "\"");
    ArchiveProfile prof;
    {
        py::gil_scoped_release unlocked;
        prof = buildArchiveProfile(*f.run->q5);
    }
    if (!prof.error.empty())
        throw py::value_error("No profile: " + prof.error);
    for (const ArchiveSonde& s : prof.sondes) {
        if (s.slot + 1 != sonde)
            continue;
        py::dict out = levelArrays(part == "ascent" ? s.ascent : part == "descent" ? s.descent : s.prelaunch);
        out["launch"] = utcDateTime(s.launchTime);
        return out;
    }
    throw py::value_error("No ozonesonde with a serial number at chain position " + std::to_string(sonde));
}

// Writes the asked files with the core's writers, as lumo-batch process
// --export does; the paths written.
std::vector<std::string> writeFiles(const Flight& f, const std::string& dir, const std::vector<std::string>& kinds)
{
    std::string list;
    for (const std::string& k : kinds)
        list += (list.empty() ? "" : ",") + k;
    std::string error;
    const auto selection = parseExportList(list, error);
    if (!selection)
        throw py::value_error(error);
    BatchExports written;
    {
        py::gil_scoped_release unlocked;
        error = batch::outputFolderProblem(dir);
        if (error.empty()) {
            ArchiveMeta meta;
            meta.station = f.station;
            meta.generated = nowUtcDateTime();
            written = writeBatchExports(*f.run->q5, f.run->raw, f.run->cfg, *selection, dir, meta);
            error = written.error;
        }
    }
    if (!error.empty())
        osError(error);
    return written.paths;
}

std::vector<std::string> write(const Flight& f, const py::object& dir, const py::object& kinds)
{
    if (py::isinstance<py::str>(kinds))
        throw py::value_error("kinds must be a list of kinds, e.g. [\"woudc\", \"nc\"]");
    std::vector<std::string> list;
    for (const py::handle k : kinds) {
        if (!py::isinstance<py::str>(k))
            throw py::value_error("kinds: a kind is a text, not " + py::repr(k).cast<std::string>());
        list.push_back(k.cast<std::string>());
    }
    return writeFiles(f, pathText(dir, "dir"), list);
}

py::object toXarray(const Flight& f)
{
    py::module_ xr;
    try {
        xr = py::module_::import("xarray");
    } catch (const py::error_already_set&) {
        throw py::import_error("Flight.to_xarray needs xarray (Debian: apt-get install python3-xarray python3-netcdf4)");
    }
    // The dataset is the netCDF file the core writes, read back whole.
    const py::module_ tempfile = py::module_::import("tempfile");
    const py::object tmp = tempfile.attr("TemporaryDirectory")("prefix"_a = "lumo-");
    const std::string dir = tmp.attr("name").cast<std::string>();
    std::vector<std::string> paths;
    try {
        paths = writeFiles(f, dir, {"nc"});
        const py::object ds = xr.attr("open_dataset")(paths.at(0));
        const py::object loaded = ds.attr("load")();
        ds.attr("close")();
        tmp.attr("cleanup")();
        return loaded;
    } catch (...) {
        tmp.attr("cleanup")();
        throw;
    }
}

} // namespace

void bindFlight(py::module_& m)
{
    using namespace pybind11::literals;
    py::class_<Sonde>(m, "Sonde", "The total ozone of one ozonesonde (DU); None where it could not be determined.")
        .def_readonly("slot", &Sonde::slot, "chain position, 1 to 4")
        .def_readonly("serial", &Sonde::serial, "serial number")
        .def_readonly("measured", &Sonde::measured, "column from the surface to the burst, DU")
        .def_readonly("residual", &Sonde::residual, "column above the burst, DU")
        .def_readonly("total", &Sonde::total, "measured plus residual, DU")
        .def_readonly("top_mix", &Sonde::topMix, "mixing ratio of the highest integrated layer, nb/hPa")
        .def_readonly("measured_uncertainty", &Sonde::measuredUncertainty, "1-sigma, DU")
        .def_readonly("residual_uncertainty", &Sonde::residualUncertainty, "1-sigma, DU")
        .def_readonly("total_uncertainty", &Sonde::totalUncertainty, "1-sigma, DU")
        .def_readonly("correction_factor", &Sonde::correctionFactor,
                      "reference total ozone over the total; reported, never applied")
        .def("__repr__", [](const Sonde& s) {
            return "Sonde(slot=" + std::to_string(s.slot) + ", serial=" + py::repr(py::str(s.serial)).cast<std::string>()
                + ", total=" + py::repr(s.total).cast<std::string>() + ")";
        });
    py::class_<Warning>(m, "Warning", "A finding of the quality checks, with a stable code.")
        .def_readonly("code", &Warning::code)
        .def_readonly("message", &Warning::message)
        .def_readonly("values", &Warning::values, "the numbers the warning is about")
        .def("__repr__", [](const Warning& w) {
            return "Warning(code=" + py::repr(py::str(w.code)).cast<std::string>()
                + ", message=" + py::repr(py::str(w.message)).cast<std::string>() + ")";
        });
    py::class_<TropopauseLevel>(m, "Tropopause", "A lapse-rate tropopause of the ascent.")
        .def_readonly("pressure", &TropopauseLevel::pressure, "hPa")
        .def_readonly("height", &TropopauseLevel::height, "m")
        .def_readonly("temperature", &TropopauseLevel::temperature, "degC")
        .def_readonly("confirmed", &TropopauseLevel::confirmed,
                      "False when the sounding ends less than 2 km above it")
        .def("__repr__", [](const TropopauseLevel& t) {
            return "Tropopause(pressure=" + py::repr(py::float_(t.pressure)).cast<std::string>()
                + ", height=" + py::repr(py::float_(t.height)).cast<std::string>() + ")";
        });

    py::class_<Flight>(m, "Flight", "A processed flight, as lumo-batch process leaves it.")
        .def_property_readonly("raw", [](const Flight& f) { return f.run->raw; }, "the raw file")
        .def_property_readonly("cfg", [](const Flight& f) { return f.run->cfg; }, "the configuration file")
        .def_property_readonly("launch", [](const Flight& f) { return recordTime(f.run->q5->launchRec); },
                               "time of the launch record, datetime in UTC, or None")
        .def_property_readonly("burst", [](const Flight& f) { return recordTime(f.run->q5->burstRec); },
                               "time of the burst record, datetime in UTC, or None")
        .def_property_readonly("surface", [](const Flight& f) { return f.summary["surface"]; },
                               "sfcP (hPa), sfcT (degC), sfcU (%) and the four chain positions' sfcO3 (nb); None where unknown")
        .def_property_readonly("sondes", &sondes, "every ozonesonde with a serial number, in chain order")
        .def_property_readonly("tropopause", [](const Flight& f) { return tropopause(f.summary, "tropopause"); },
                               "the first tropopause, or None")
        .def_property_readonly("tropopause2", [](const Flight& f) { return tropopause(f.summary, "tropopause2"); },
                               "the second tropopause, or None")
        .def_property_readonly("warnings", &warnings, "what the quality checks found")
        .def_property_readonly("questions", [](const Flight& f) { return f.summary["questions"]; },
                               "the surface questions asked, with their answers")
        .def("summary", [](const Flight& f) { return py::module_::import("copy").attr("deepcopy")(f.summary); },
             "The plain dict of lumo-batch process --json for this flight.")
        .def("profile", &profile, "sonde"_a = 1, "part"_a = "ascent",
             "The archive profile of the ozonesonde at chain position `sonde` as numpy arrays, NaN where\n"
             "unknown: time (s after launch), pressure (hPa), o3pp_mpa, o3pp_uncertainty_mpa,\n"
             "o3_mixing_ratio_ppmv, temperature (degC), humidity (%), geopotential_height (m), latitude,\n"
             "longitude (deg), gps_altitude (m), wind_speed (m/s), wind_direction (deg), pump_temperature\n"
             "(degC), cell_current (uA), pump_current (mA), battery (V), level_code; and launch (datetime).\n"
             "`part` is \"ascent\" (launch to burst), \"descent\" or \"prelaunch\".")
        .def("to_xarray", &toXarray,
             "The flight as an xarray Dataset: the netCDF file the core writes, with the same variables,\n"
             "units and attributes. Needs xarray and a netCDF backend.")
        .def("write", &write, "dir"_a, "kinds"_a = std::vector<std::string>{"woudc", "ames", "nc", "o3"},
             "Writes export and archive files into `dir` (created when missing): kinds among o3, winds,\n"
             "all, woudc, ames and nc. Returns the paths written.")
        .def("__repr__", [](const Flight& f) {
            return "<lumo.Flight " + f.run->raw + (f.run->ok() ? "" : " (failed)") + ">";
        });
}

} // namespace lumo::python
