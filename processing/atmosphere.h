#pragma once

namespace lumo {

// Height per kelvin of the hypsometric relation, m/K: Rd / g for dry air.
constexpr double HypsometricScale = 29.2894;

// Saturation vapour pressure over water (hPa) at t (degC), Magnus form.
double satVapourPressure(double t);

// Virtual temperature (K) of moist air at p (hPa), t (degC), u (%RH). Without
// a usable humidity (u outside (0, 100)) or pressure it is the dry temperature.
double virtualTemperature(double p, double t, double u);

// Height z2 (m) of the level p2/t2/u2 above the level z1/p1/t1/u1 by the
// hypsometric equation with the mean virtual temperature of the layer.
// Missing or non-positive inputs leave the height at z1.
double hypsometricHeight(double z1, double p1, double t1, double u1, double p2, double t2, double u2);

// Pressure (hPa) at height z2 given pressure p1 at height z1; both virtual
// temperatures use p1 since p2 is the unknown.
double hypsometricPressure(double p1, double z1, double t1, double u1, double z2, double t2, double u2);

} // namespace lumo
