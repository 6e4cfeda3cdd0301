#pragma once

#include <pybind11/pybind11.h>

#include "jsonout.h"

namespace lumo::python {

namespace py = pybind11;

// A JSON value as plain Python objects (dict, list, str, float, int, bool,
// None): picklable, and equal to the JSON text read by Python's json module.
py::object toPython(const batch::Json& value);

// A path argument (str or os.PathLike) as text; ValueError for anything else.
std::string pathText(py::handle p, const char* what);

// A date-time of the flight (days since 1899-12-30, UTC) as an aware
// datetime in UTC, to the millisecond.
py::object utcDateTime(double dateTime);

} // namespace lumo::python
