#pragma once

#include <algorithm>
#include <cmath>

#include "flight/q5.h"

namespace lumo::test {

// A synthetic sounding built in code: 1 Hz PTU and GPS, and each configured
// ozonesonde at 1 Hz, over a simple atmosphere (scale height 7 km, lapse rate
// to the tropopause) with an ozone layer peaking near 25 km. The balloon
// waits `groundSeconds` on the ground, rises at `ascentRate` to `burstAlt`
// and falls at twice that rate until `totalSeconds`.
struct SynthFlight {
    int sondes = 4;
    double groundSeconds = 120;
    double surfaceSeconds = 180;
    double totalSeconds = 10800;
    double ascentRate = 5;      // m/s
    double burstAlt = 32000;    // m
    double stnAlt = 100;        // m
    double sfcP = 1000;         // hPa
    double flow = 28.0;         // s per 100 ml
    double bkg = 0.02;          // uA
    double day = 45366.0;       // 2024-03-15

    double altitude(double sec) const
    {
        if (sec <= groundSeconds)
            return stnAlt;
        const double up = (burstAlt - stnAlt) / ascentRate;
        const double t = sec - groundSeconds;
        if (t <= up)
            return stnAlt + ascentRate * t;
        return std::max(stnAlt, burstAlt - 2 * ascentRate * (t - up));
    }
    // Dry hydrostatic atmosphere: 6.5 K/km from 20 degC up to the tropopause,
    // isothermal above, so pressure, temperature and height agree.
    static constexpr double Lapse = 6.5e-3;     // K/m
    static constexpr double T0 = 293.15;        // K
    static constexpr double TTrop = 216.65;     // K
    static constexpr double GOverR = 9.80665 / 287.04;
    double tropopause() const { return stnAlt + (T0 - TTrop) / Lapse; }
    double temperature(double z) const { return std::max(T0 - Lapse * (z - stnAlt), TTrop) - 273.15; }
    double pressure(double z) const
    {
        const double zt = tropopause();
        if (z <= zt)
            return sfcP * std::pow((T0 - Lapse * (z - stnAlt)) / T0, GOverR / Lapse);
        return pressure(zt) * std::exp(-GOverR * (z - zt) / TTrop);
    }
    // Ozone mixing ratio (nb/hPa): a smooth layer peaking near 25 km.
    double mixingRatio(double z) const { return 0.04 + 8.0 * std::exp(-std::pow((z - 27000) / 7000.0, 2)); }
    double o3pp(double z) const { return mixingRatio(z) * pressure(z); }

    double time(double sec) const { return day + std::round(sec * 1000) / 86400000.0; }

    void add(RecordList<RawRecord>& list, double sec, bool ground) const
    {
        const double z = ground ? stnAlt : altitude(sec);
        RawRecord* p = list.append();
        p->time = time(sec);
        p->type = TypePtu;
        p->data.ptu.p = pressure(z);
        p->data.ptu.t = temperature(z);
        p->data.ptu.u = 0;
        RawRecord* g = list.append();
        g->time = time(sec + 0.2);
        g->type = TypeGps;
        g->data.gps.lat = 45.0;
        g->data.gps.lon = 7.0 + 10.0 * sec / 111000.0; // drifting east at about 7 m/s
        g->data.gps.alt = z;
        g->data.gps.nSats = 9;
        for (int k = 1; k <= sondes; ++k) {
            RawRecord* o = list.append();
            o->time = time(sec + 0.2 + 0.15 * k);
            o->type = TypeAux;
            o->kind = KindOzonesonde;
            o->data.o3.o3Num = static_cast<std::uint8_t>(k);
            o->data.o3.tp = 25;
            // Invert the ozonesonde equation for the wanted partial pressure.
            o->data.o3.ic = o3pp(z) / (0.004307 * (25 + 273.15) * flow) + bkg;
        }
    }

    void build(Q5& q) const
    {
        q.stnLat = 45;
        q.stnAlt = stnAlt;
        q.rsPrInst = 1;
        q.rsGpsInst = 1;
        q.sfcP = sfcP;
        q.sfcT = 20;
        q.sfcU = 0;
        q.stdP = sfcP;
        q.stdT = 20;
        q.stdU = 0;
        q.o3Count = static_cast<std::uint32_t>(sondes);
        for (int k = 0; k < sondes; ++k) {
            q.o3Sonde[k].sn[0] = static_cast<char>('A' + k);
            q.o3Sonde[k].bkg = bkg;
            q.o3Sonde[k].flow = flow;
        }
        for (double s = -surfaceSeconds; s < 0; s += 1)
            add(q.sfcRecs, s, true);
        for (double s = 0; s < totalSeconds; s += 1)
            add(q.fltRecs, s, false);
    }

    // Column (DU) from the surface to the burst by fine integration in ln p.
    double truthColumn() const
    {
        double sum = 0;
        const int n = 20000;
        for (int i = 0; i < n; ++i) {
            const double z0 = stnAlt + (burstAlt - stnAlt) * i / n;
            const double z1 = stnAlt + (burstAlt - stnAlt) * (i + 1) / n;
            sum += std::log(pressure(z0) / pressure(z1)) * (o3pp(z0) + o3pp(z1)) * 0.39453635;
        }
        return sum;
    }
};

} // namespace lumo::test
