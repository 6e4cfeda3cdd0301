#pragma once

#include <string>

#include "flight/flightwarning.h"

namespace lumo {

class Q5;
struct FlightSurvey;

// Checks the flight after a processing run and appends what a user must
// know before trusting its numbers to q.warnings, each with a stable code:
//   burst-above-10hpa, ends-ascending, telemetry-gap, unplaced-samples,
//   gps-without-fixes, gps-not-configured, pressure-without-data,
//   time-order                                                     (flight)
//   sonde-without-data, ozone-without-sonde, cell-at-background,
//   column-not-positive, pump-temperature, surface-ozone,
//   correction-factor-range                                        (ozonesondes)
// reference-value when the configuration's reference total was left out,
// config-text for configuration text that is not clean UTF-8.
// The run itself adds residual-unknown; the preferences add prefs-value,
// residual-method and prefs-missing.
void checkFlight(Q5& q);
// The same from the statistics of a walk already made.
void checkFlight(Q5& q, const FlightSurvey& survey);
void checkFlightTrack(Q5& q, const FlightSurvey& survey);
void checkOzonesondes(Q5& q, const FlightSurvey& survey);

// The ascent: from the launch to the burst (or the end of the flight).
struct AscentWindow {
    explicit AscentWindow(const Q5& q);
    bool contains(double time) const { return time >= from && time <= to; }
    double from, to;
};

// "hh:nn:ss" of a date-time, for messages.
std::string clockOf(double time);

} // namespace lumo
