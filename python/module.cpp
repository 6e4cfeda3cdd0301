// The Python module lumo: the core's import, preferences, processing,
// archive profile and writers, as lumo-batch process uses them.
#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/eval.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "configjson.h"
#include "convert.h"
#include "fileproblems.h"
#include "flight.h"
#include "flight/q5.h"
#include "flight/readconfig.h"
#include "flightjson.h"
#include "prefoverrides.h"
#include "records.h"

namespace lumo::python {

namespace {

using namespace pybind11::literals;

py::object& loadError()
{
    static py::object type; // set once at import, like every module's exception type
    return type;
}

[[noreturn]] void raiseLoadError(const std::string& message, const std::string& path)
{
    const py::object e = loadError()(message, path);
    PyErr_SetObject(loadError().ptr(), e.ptr());
    throw py::error_already_set();
}

// A preference value as the preferences file would hold it.
std::string keyValue(const std::string& name, const py::handle v)
{
    if (py::isinstance<py::bool_>(v))
        return v.cast<bool>() ? "yes" : "no";
    if (py::isinstance<py::int_>(v) || py::isinstance<py::float_>(v) || py::isinstance<py::str>(v))
        return py::str(v).cast<std::string>();
    throw py::value_error("Preference " + name + ": a bool, number or text, not "
                          + py::repr(v).cast<std::string>());
}

std::string choice(const std::string& name, const py::handle v, std::initializer_list<const char*> allowed)
{
    const std::string text = py::isinstance<py::str>(v) ? v.cast<std::string>() : std::string();
    for (const char* a : allowed)
        if (text == a)
            return text;
    std::string list;
    for (const char* a : allowed)
        list += (list.empty() ? "\"" : " or \"") + std::string(a) + "\"";
    throw py::value_error(name + " must be " + list + ", not " + py::repr(v).cast<std::string>());
}

struct Request {
    std::string raw;
    batch::RunOptions options;
    Preferences prefs;
};

// The arguments of process() and summary() checked and turned into what
// lumo-batch process would have from its command line.
Request request(const py::handle raw, const py::handle cfg, const py::handle prefs, const py::handle answer,
                const py::kwargs& overrides)
{
    Request r;
    r.raw = pathText(raw, "raw");
    if (!cfg.is_none())
        r.options.cfg = pathText(cfg, "cfg");
    const std::string prefsFile = prefs.is_none() ? std::string() : pathText(prefs, "prefs");
    if (py::isinstance<py::bool_>(answer))
        r.options.answerYes = answer.cast<bool>();
    else
        r.options.answerYes = choice("answer", answer, {"yes", "no"}) == "yes";
    std::vector<batch::PreferenceOverride> keys;
    for (const auto& [k, v] : overrides) {
        const std::string name = k.cast<std::string>();
        if (name == "surface_ref") {
            r.options.surfaceRef = choice(name, v, {"std", "rs"});
        } else if (name == "launch_detect") {
            r.options.launchDetect = choice(name, v, {"ptu", "gps"});
        } else if (name == "apply_sfc_corr") {
            if (!py::isinstance<py::bool_>(v))
                throw py::value_error("apply_sfc_corr must be True or False");
            r.options.applySfcCorr = v.cast<bool>();
        } else if (auto key = batch::preferenceKey(name)) {
            key->value = keyValue(name, v);
            keys.push_back(*key);
        } else {
            throw py::value_error("Unknown keyword " + name
                + ": not surface_ref, launch_detect, apply_sfc_corr nor a preference key (LPfilter, residual,"
                  " ...; section_key for a key of any section, e.g. o3_residual)");
        }
    }
    std::string error;
    if (!batch::readPreferencesWith(prefsFile, keys, r.prefs, error))
        raiseLoadError(error, prefsFile);
    return r;
}

batch::FlightRun run(const Request& r)
{
    try {
        py::gil_scoped_release unlocked;
        return batch::runFlight(r.raw, r.options, r.prefs);
    } catch (const batch::OverrideError& e) {
        throw py::value_error(e.what());
    }
}

Flight process(const py::object& raw, const py::object& cfg, const py::object& prefs, const py::object& answer,
               const py::kwargs& overrides)
{
    const Request r = request(raw, cfg, prefs, answer, overrides);
    auto res = std::make_shared<batch::FlightRun>(run(r));
    if (!res->ok())
        raiseLoadError(res->error, res->raw);
    Flight f{res, r.prefs.archive, py::dict(toPython(batch::resultJson(*res)))};
    return f;
}

py::object summary(const py::object& raw, const py::object& cfg, const py::object& prefs, const py::object& answer,
                   const py::kwargs& overrides)
{
    const Request r = request(raw, cfg, prefs, answer, overrides);
    const batch::FlightRun res = run(r);
    return toPython(batch::resultJson(res));
}

py::object readConfig(const py::object& cfg)
{
    const std::string path = pathText(cfg, "cfg");
    if (const std::string reason = batch::unreadableReason(path); !reason.empty())
        raiseLoadError("Flight config " + path + ": " + reason + ".", path);
    auto q5 = std::make_unique<Q5>();
    q5->clearConfig();
    const unsigned status = readFlightConfig(*q5, path);
    return toPython(batch::configJson(*q5, status));
}

} // namespace

py::object loadErrorType() { return loadError(); }

} // namespace lumo::python

PYBIND11_MODULE(lumo, m)
{
    namespace py = pybind11;
    using namespace pybind11::literals;
    using namespace lumo::python;
    m.doc() = "Balloon-borne ozone soundings: the import, processing, archive profile and writers of Lumo.\n\n"
              "    f = lumo.process(\"samples/flight1.raw\")\n"
              "    f.sondes[0].total, f.sondes[0].total_uncertainty   # DU\n";
    py::dict scope;
    scope["__name__"] = "lumo";
    py::exec(R"(
class LoadError(Exception):
    """A flight that cannot be loaded or processed: `message` is the program's own, `path` the file."""

    def __init__(self, message, path):
        super().__init__(message, path)
        self.message = message
        self.path = path

    def __str__(self):
        return self.message
)",
             scope);
    loadError() = scope["LoadError"];
    m.attr("LoadError") = loadError();
    bindFlight(m);
    bindRecords(m);
    const char* overridesDoc =
        "raw: the raw telemetry file; cfg: its configuration (default: beside it, with .cfg);\n"
        "prefs: a preferences file (default: every preference at its default); answer: the answer\n"
        "to every surface question (False/\"no\" by default, True/\"yes\").\n"
        "Keywords: surface_ref (\"std\" or \"rs\"), launch_detect (\"ptu\" or \"gps\"), apply_sfc_corr\n"
        "(bool), as lumo-batch process has them; any other keyword is a preference key by name\n"
        "(lDetVal=3.0, LPfilter=10, residual=\"table\", residualTable=\"x.toz\", currentPct=2, agency=...)\n"
        "or section_key for a key of any section (o3_method=\"standard\"); True and False are written\n"
        "as yes and no. The preferences reader applies its own rules to every value.\n"
        "The GIL is released while the flight is imported and processed.\n";
    m.def("_process", &process, "raw"_a, "cfg"_a = py::none(), "prefs"_a = py::none(), "answer"_a = false,
          (std::string("Imports and processes one flight as lumo-batch process does; returns a Flight.\n\n")
           + overridesDoc
           + "Raises LoadError (message, path) when the flight cannot be loaded or processed, ValueError for\n"
             "a bad argument or an unknown keyword.")
              .c_str());
    m.def("_summary", &summary, "raw"_a, "cfg"_a = py::none(), "prefs"_a = py::none(), "answer"_a = false,
          (std::string("The plain dict of lumo-batch process --json for one flight (picklable): for\n"
                       "process pools and Dask. A flight that fails has ok False and its error; no exception.\n\n")
           + overridesDoc)
              .c_str());
    // process and summary as Python functions of the module, so that they
    // pickle by name (process pools, Dask) and show their signature in help().
    py::dict globals = m.attr("__dict__");
    py::exec(R"(
def process(raw, cfg=None, prefs=None, answer=False, **overrides):
    return _process(raw, cfg, prefs, answer, **overrides)

def summary(raw, cfg=None, prefs=None, answer=False, **overrides):
    return _summary(raw, cfg, prefs, answer, **overrides)

process.__doc__ = _process.__doc__.split("\n", 1)[1].lstrip()
summary.__doc__ = _summary.__doc__.split("\n", 1)[1].lstrip()
)",
             globals);
    m.def("read_config", &readConfig, "cfg"_a,
          "The flight configuration as lumo-batch config prints it, as a dict; status 0 (ok True) when it\n"
          "is usable. Raises LoadError when the file cannot be read.");
}
