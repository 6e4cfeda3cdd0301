#pragma once

#include <pybind11/pybind11.h>

namespace lumo::python {

// Adds decode() to the module.
void bindRecords(pybind11::module_& m);

} // namespace lumo::python
