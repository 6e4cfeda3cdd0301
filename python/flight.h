#pragma once

#include <memory>

#include <pybind11/pybind11.h>

#include "flight/archivestation.h"
#include "flightrun.h"

namespace lumo::python {

namespace py = pybind11;

// One processed flight: the flight object as the processing run left it,
// the station metadata for its archive files, and its summary, the same
// dict that lumo-batch process --json prints for it.
struct Flight {
    std::shared_ptr<batch::FlightRun> run;
    ArchiveStation station;
    py::dict summary;
};

// The module's exception for a flight that cannot be loaded or processed.
py::object loadErrorType();

// Adds Flight, Sonde, Warning and Tropopause to the module.
void bindFlight(py::module_& m);

} // namespace lumo::python
