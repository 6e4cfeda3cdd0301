// The residual-ozone table read by the residual step of a processing run:
// the first bytes choose the station latitude, the burst month and pressure,
// the rest is the table file. Residuals must stay finite.
#include <cmath>
#include <cstdint>
#include <limits>

#include "flight/datetime.h"
#include "flight/q5.h"
#include "fuzzsupport.h"
#include "processing/column.h"

namespace {

// Latitudes a configuration can hold: "lat=" takes any decimal number,
// overflowing ones reading as infinite.
double latitude(std::uint8_t code)
{
    switch (code) {
    case 0xF0: return 1e308;
    case 0xF1: return -1e308;
    case 0xF2: return std::numeric_limits<double>::infinity();
    case 0xF3: return -std::numeric_limits<double>::infinity();
    case 0xF4: return -0.0;
    case 0xF5: return 9.99;
    case 0xF6: return 2147483648.0;
    default: return (static_cast<int>(code) - 120) * 0.75;
    }
}

// A short flight: launch, four ozone samples of chain position 1 and the burst.
void buildFlight(lumo::Q5& q, int month, double pb)
{
    using namespace lumo;
    double day = 0;
    encodeDate(2024, month, 15, day);
    const double seconds[] = {0, 600, 1200, 1800, 2400, 3000};
    const double pressures[] = {1000, 800, 300, 50, 10, pb};
    for (int i = 0; i < 6; ++i) {
        RawRecord* r = q.fltRecs.append();
        r->time = day + 0.5 + seconds[i] / SecondsPerDay;
        if (i == 0 || i == 5) {
            r->type = TypePtu;
            r->data.ptu.p = pressures[i];
            if (i == 0)
                q.launchRec = r;
            else
                q.burstRec = r;
        } else {
            r->type = TypeAux;
            r->kind = KindOzonesonde;
            r->data.o3.o3Num = 1;
            r->data.o3.p = pressures[i];
            r->data.o3.o3pp = 20.0 * i;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    fuzz::InputBytes in(data, size);
    const double lat = latitude(in.byte());
    const int month = 1 + in.byte() % 12;
    const std::uint8_t hi = in.byte(), lo = in.byte();
    const double pb = hi == 0xFF ? -1.0 : (hi * 256 + lo) / 10.0;
    const fuzz::ScratchFile file("toz", in.rest(), in.restSize());

    Q5 q;
    q.stnLat = lat;
    q.sfcP = 1000;
    q.rsPrInst = 1;
    q.sfcO3[0] = 30;
    q.o3Sonde[0].sn[0] = 'A';
    q.resTable = 1;
    q.resTableFile = file.path();
    buildFlight(q, month, pb);
    totalOzone(q);
    for (int h = 0; h < MaxSondes; ++h) {
        fuzz::requireFinite(q.o3Measured[h], "o3Measured");
        fuzz::requireFinite(q.o3Residual[h], "o3Residual");
    }
    if (q.o3Residual[1] != 0)
        fuzz::fail("residual for an ozonesonde without serial number");

    double residual = 0;
    tableResidual(file.path(), lat, 0, pb, residual);
    tableResidual(file.path(), lat, 13, pb, residual);
    return 0;
}
