#pragma once

#include <string>

namespace lumo::sim {

// A climatological table of the ozone column above pressure levels (DU)
// for every 10-degree latitude band and month: the profile shapes blended
// by latitude, with a seasonal cycle peaking in each hemisphere's spring
// and growing towards the poles. Bands from [80n-90n] to [80s-90s], each a
// label line, a heading and rows of pressure, twelve months and the year.
std::string formatResidualTable();

} // namespace lumo::sim
