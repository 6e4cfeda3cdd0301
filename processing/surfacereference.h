#pragma once

#include "flight/q5.h"

namespace lumo {

// Surface values the processing starts from: the reference instrument's
// ("standard") values when selected, else the radiosonde's saved values with
// the offset correction applied.
inline double refSurfaceP(const Q5& q) { return q.sfcUseStd ? q.stdP : q.sfcP - q.sfcCorrP; }
inline double refSurfaceT(const Q5& q) { return q.sfcUseStd ? q.stdT : q.sfcT - q.sfcCorrT; }
inline double refSurfaceU(const Q5& q) { return q.sfcUseStd ? q.stdU : q.sfcU - q.sfcCorrU; }

// Surface pressure under the GPS pressure profile: without a pressure
// sensor only the standard value exists.
inline double gpsSurfaceP(const Q5& q) { return (!q.rsPrInst || q.sfcUseStd) ? q.stdP : q.sfcP - q.sfcCorrP; }

} // namespace lumo
