#pragma once

#include <QString>
#include <QStringList>

namespace lumo {

class Q5;

// Renders the surface, flight and wind plot windows of a processed flight
// to PNG pictures without showing anything on screen, so that a whole
// campaign can be looked at without opening each flight.
//
// Quantities are the check-box names of the windows: P T U Vb Ti Tp Tu
// ARate for the radiosonde; O3pp Icell Tpmp Ipmp Vbat for every ozonesonde
// with data, or with ".n" (O3pp.2) for ozonesonde n only; Dir and Spd for
// the wind plots; MR for the mixing ratio in the profile view. A QApplication must exist (offscreen is enough).
class PlotRenderer {
public:
    // Ozone partial pressure and temperature of every ozonesonde present,
    // wind direction and speed.
    static QStringList defaultQuantities();
    // The names of the list that are no quantity.
    static QStringList unknownQuantities(const QStringList& quantities);

    // Writes <dir>/<flightName>-surface.png, -flight.png, -profile.png and,
    // when the flight has GPS winds and Dir or Spd is asked for, -winds.png. `written` gets
    // the paths; false with `error` set when a picture cannot be written.
    static bool render(Q5& q5, const QString& dir, const QString& flightName, const QStringList& quantities,
        QStringList& written, QString& error);
};

} // namespace lumo
