#pragma once

// Thresholds of the quality checks, in one place with where each comes from.
namespace lumo::quality {

// hPa. Field practice for ozonesondes asks a sounding to reach about 10 hPa
// before its total column is reported: above that the residual is a large,
// poorly known share of the column.
constexpr double MinPressureForTotal = 10.0;

// m. After its highest point a flight that burst falls fast, several
// hundred metres within the first minute; data ending less than this below
// the highest point were still ascending (or floating) when they stopped.
constexpr double MinDescentAfterTop = 500.0;

// s. Telemetry comes every one or two seconds; a minute without it spans
// about 300 m of ascent, more than a layer of the column should.
constexpr double MaxTelemetryGap = 60.0;

// Share of the ascent samples. An ozone cell at or below its background
// current now and then is noise near the ground; for more than this share
// of the ascent the cell is dead or was not conditioned.
constexpr double MaxShareAtBackground = 0.05;

// degC. The pump box of a working ozonesonde stays between about 5 and
// 35 degC; below freezing the cell solution freezes, above 45 degC the
// electronics or the heater have failed.
constexpr double MinPumpTemperature = 0.0;
constexpr double MaxPumpTemperature = 45.0;

// nb. Surface ozone below 0 is impossible; 200 nb (20 mPa, about 200 ppb)
// lies beyond the worst smog episodes ever measured.
constexpr double MinSurfaceOzone = 0.0;
constexpr double MaxSurfaceOzone = 200.0;

// GPS fixes in a flight configured without GPS before that is worth a word.
constexpr int MinFixesForGps = 10;

} // namespace lumo::quality
