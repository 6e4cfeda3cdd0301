#pragma once

#include <string>

namespace lumo {

class Q5;

// DU per nanobar and unit of ln p, applied to the sum of the partial
// pressures at both ends of a layer (trapezoid rule in ln p).
constexpr double DobsonPerNbLnP = 0.39453635;

// Measured column (DU) of each ozonesonde from the surface to the burst, and
// the mixing ratio of its highest layer (o3Measured, o3TopMix), in one walk.
void measuredColumns(Q5& q);

// Ozone above burst pressure pb (hPa) for a constant mixing ratio topMix
// (nb/hPa): 0.1 hPa layers, then the last layer down to 0 hPa in closed form.
double cmrResidual(double pb, double topMix);

// Latitude band label of a residual table for latitude lat, e.g. "[30n-40n]".
std::string tozBandLabel(double lat);

// Residual (DU) above pb from a residual table for the station's latitude band
// and month (1..12); false when the file, the band or a row above pb is missing.
bool tableResidual(const std::string& path, double lat, int month, double pb, double& residual);

// Measured columns and, when a burst exists, residuals.
void totalOzone(Q5& q);

} // namespace lumo
