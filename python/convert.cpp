#include "convert.h"

#include "flight/datetime.h"

namespace lumo::python {

py::object toPython(const batch::Json& value)
{
    // Through the JSON text lumo-batch prints: the same escapes, the same
    // nulls for what is not finite, and the shortest round-trip numbers read
    // back to the same doubles.
    return py::module_::import("json").attr("loads")(batch::toJson(value));
}

std::string pathText(const py::handle p, const char* what)
{
    if (!py::isinstance<py::str>(p) && !py::hasattr(p, "__fspath__"))
        throw py::value_error(std::string(what) + " must be a path, not " + py::repr(p).cast<std::string>());
    return py::module_::import("os").attr("fsdecode")(p).cast<std::string>();
}

py::object utcDateTime(double dateTime)
{
    const DateParts d = decodeDateTime(dateTime);
    const py::module_ dt = py::module_::import("datetime");
    return dt.attr("datetime")(d.year, d.month, d.day, d.hour, d.minute, d.second, d.msec * 1000,
                               dt.attr("timezone").attr("utc"));
}

} // namespace lumo::python
