#include "telemetry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace lumo::sim {

namespace {

enum Stream : int { StreamPtu = 0, StreamGps = 1, StreamOzone = 2, StreamAux = 6, StreamSeparator = 7 };

struct Event {
    long long ms;
    int stream; // StreamOzone + i for ozonesonde i
};

struct Outage {
    double from, to; // s
};

constexpr double DegPerRad = 57.29577951308232;

// Outages (gaps, dropouts) so that about `rate` of the time is lost: each
// second outside an outage starts one with probability rate / mean length.
std::vector<Outage> drawOutages(Random& rng, double rate, double shortest, double longest, double end)
{
    std::vector<Outage> v;
    if (rate <= 0)
        return v;
    const double start = rate / ((shortest + longest) / 2);
    for (double t = 0; t < end; t += 1) {
        if (rng.chance(start)) {
            const double len = rng.uniform(shortest, longest);
            v.push_back({t, t + len});
            t += len;
        }
    }
    return v;
}

bool inside(const std::vector<Outage>& v, double t)
{
    return std::any_of(v.begin(), v.end(), [t](const Outage& o) { return t >= o.from && t < o.to; });
}

class Generator {
public:
    explicit Generator(const FlightModel& m)
        : m_(m), o_(m.options), noise_(Random::stream(o_.seed, 11)), faults_(Random::stream(o_.seed, 12)),
          jitter_(Random::stream(o_.seed, 13)), cellNoise_(Random::stream(o_.seed, 14))
    {
        frame_ = static_cast<std::uint16_t>(noise_.integer(0, 60000));
        sats_ = noise_.integer(7, 11);
    }

    ExpectedCounts run(RawFileWriter& out);

private:
    std::vector<Event> schedule();
    void addStream(std::vector<Event>& ev, int stream, double start, double period, double phase,
        const std::vector<Outage>& gaps);
    Packet ptuPacket(double t, bool& valid);
    Packet gpsPacket(double t, long long ms, bool& valid);
    Packet ozonePacket(double t, int index);
    double cellCurrentAt(double t, int index);
    double settledFast(double t, const OzonesondeSetup& sonde) const;
    Packet auxPacket();
    Packet unknownPacket();

    const FlightModel& m_;
    const SimOptions& o_;
    Random noise_, faults_, jitter_, cellNoise_;
    std::vector<Outage> dropouts_;
    std::uint16_t frame_ = 0;
    int sats_ = 9;
    int poorFixes_ = 0; // fixes left in a spell of poor reception
    double gpsError_[3] = {}; // slowly wandering position error: north, east, up (m)
    std::optional<CellResponse> cells_[ChainSize]; // from each cell's first record on
    double cellTime_[ChainSize] = {};              // s, the time the cell state stands at
};

void Generator::addStream(std::vector<Event>& ev, int stream, double start, double period, double phase,
    const std::vector<Outage>& gaps)
{
    const double end = m_.trajectory.endTime();
    for (long long n = 0;; ++n) {
        const double t = start + static_cast<double>(n) * period + phase;
        if (t > end)
            break;
        // The ground station stamps packets a few ms after they are due.
        const long long ms = std::llround(t * 1000) + jitter_.integer(0, 20);
        if (inside(dropouts_, t) || inside(gaps, t))
            continue;
        ev.push_back({ms, stream});
    }
}

std::vector<Event> Generator::schedule()
{
    const double end = m_.trajectory.endTime();
    const FaultRates& f = o_.faults;
    dropouts_ = drawOutages(faults_, f.dropout, 5, 60, end);
    // With early ozone packets the radiosonde starts a while after the
    // ozonesondes: rate x 5 minutes, at least 5 s.
    const double radioStart = f.earlyOzone > 0 ? std::max(5.0, std::round(f.earlyOzone * 300)) : 0.0;

    std::vector<Event> ev;
    ev.reserve(static_cast<std::size_t>(end * (2 + o_.sondes)) + 16);
    addStream(ev, StreamPtu, radioStart, o_.ptuPeriod, 0.10, drawOutages(faults_, f.streamGap, 5, 30, end));
    if (o_.gps)
        addStream(ev, StreamGps, radioStart, o_.gpsPeriod, 0.35, drawOutages(faults_, f.streamGap, 5, 30, end));
    for (int i = 0; i < o_.sondes; ++i)
        addStream(ev, StreamOzone + i, 0, o_.ozonePeriod, 0.50 + 0.1 * i,
            drawOutages(faults_, f.streamGap, 5, 30, end));
    if (o_.auxPeriod > 0)
        addStream(ev, StreamAux, 0, o_.auxPeriod, 0.95, {});
    ev.push_back({std::llround(m_.trajectory.separatorTime() * 1000), StreamSeparator});

    std::sort(ev.begin(), ev.end(), [](const Event& a, const Event& b) {
        return a.ms != b.ms ? a.ms < b.ms : a.stream < b.stream;
    });
    // Every line gets its own time stamp: the reader drops repeated ones.
    for (std::size_t i = 1; i < ev.size(); ++i)
        ev[i].ms = std::max(ev[i].ms, ev[i - 1].ms + 1);
    return ev;
}

ExpectedCounts Generator::run(RawFileWriter& out)
{
    ExpectedCounts c;
    const std::vector<Event> ev = schedule();
    out.reserve(ev.size() + ev.size() / 8);
    bool surface = true;
    for (std::size_t i = 0; i < ev.size(); ++i) {
        const Event& e = ev[i];
        const double t = static_cast<double>(e.ms) / 1000.0;
        if (e.stream == StreamSeparator) {
            out.addSeparator(e.ms);
            surface = false;
            continue;
        }
        Packet packet;
        bool valid = true;
        if (e.stream == StreamPtu) {
            packet = ptuPacket(t, valid);
            if (!valid)
                ++c.invalidPtu;
            else
                ++(surface ? c.surfacePtu : c.flightPtu);
        } else if (e.stream == StreamGps) {
            packet = gpsPacket(t, e.ms, valid);
            if (!valid)
                ++c.invalidGps;
            else
                ++(surface ? c.surfaceGps : c.flightGps);
        } else if (e.stream == StreamAux) {
            packet = auxPacket();
            ++(surface ? c.surfaceAux : c.flightAux);
        } else {
            const int k = e.stream - StreamOzone;
            packet = ozonePacket(t, k);
            ++(surface ? c.surfaceOzone[k] : c.flightOzone[k]);
        }
        out.add(e.ms, packet);

        // Faults that add lines: the same line logged twice, and a packet of
        // an unknown type squeezed in before the next line.
        if (faults_.chance(o_.faults.duplicate)) {
            out.add(e.ms, packet);
            ++c.duplicates;
        }
        const long long next = i + 1 < ev.size() ? ev[i + 1].ms : std::numeric_limits<long long>::max();
        if (faults_.chance(o_.faults.unknownType) && next - e.ms >= 3) {
            out.add(e.ms + 1 + faults_.integer(0, static_cast<int>(std::min(8LL, next - e.ms - 2))), unknownPacket());
            ++c.unknownType;
        }
    }
    c.lines = out.lineCount();
    return c;
}

Packet Generator::ptuPacket(double t, bool& valid)
{
    const FlightState s = m_.trajectory.at(t);
    const Atmosphere& a = m_.atmosphere;
    const double p = a.pressureAt(s.z);
    PtuReading r;
    r.frame = frame_++;
    if (o_.pressureSensor)
        r.p = p + noise_.normal(0, 0.03 + 5e-5 * p);
    else
        // Without a sensor the radiosonde reports a pressure from its GPS
        // height: coarser, and ignored by the processing.
        r.p = p + noise_.normal(0, 0.2 + 1e-3 * p);
    r.t = a.temperature(s.z) + noise_.normal(0, 0.05);
    r.u = std::max(0.0, a.humidity(s.z) + noise_.normal(0, 0.3));
    r.vbat = 6.4 - 0.6 * t / m_.trajectory.endTime();
    if (o_.extendedPtu) {
        r.extended = true;
        const double aloft = std::max(0.0, t - m_.trajectory.launchTime());
        r.tint = 24 - 25 * (1 - std::exp(-aloft / 2500)) + noise_.normal(0, 0.05);
        r.tpr = r.tint - 0.8 + noise_.normal(0, 0.05);
        r.tu = r.t + 0.3 + noise_.normal(0, 0.05);
    }
    valid = !faults_.chance(o_.faults.badPtu);
    if (!valid)
        r.p = faults_.chance(0.5) ? 0.0 : 1500.0; // outside 1..1200 hPa
    return encodePtu(r);
}

Packet Generator::gpsPacket(double t, long long ms, bool& valid)
{
    const FlightState s = m_.trajectory.at(t);
    // Usually 6 to 12 satellites; now and then a spell of poor reception
    // with 4 or fewer.
    if (poorFixes_ > 0) {
        --poorFixes_;
    } else if (noise_.chance(0.004)) {
        poorFixes_ = noise_.integer(3, 20);
    } else if (noise_.chance(0.05)) {
        sats_ = std::clamp(sats_ + (noise_.chance(0.5) ? 1 : -1), 6, 12);
    }
    GpsReading r;
    r.sats = poorFixes_ > 0 ? noise_.integer(3, 4) : sats_;
    // GPS errors wander slowly (correlation time ~100 s, 1.5 m horizontally,
    // 3 m vertically) with a little white noise on top, more of it when
    // few satellites are in view.
    const double rho = 0.99, sigma[3] = {1.5, 1.5, 3.0};
    for (int i = 0; i < 3; ++i)
        gpsError_[i] = rho * gpsError_[i] + sigma[i] * std::sqrt(1 - rho * rho) * noise_.normal();
    const double white = poorFixes_ > 0 ? 2.0 : 0.2;
    const double north = gpsError_[0] + noise_.normal(0, white), east = gpsError_[1] + noise_.normal(0, white);
    r.lat = s.lat + north / EarthRadius * DegPerRad;
    r.lon = s.lon + east / (EarthRadius * std::cos(s.lat / DegPerRad)) * DegPerRad;
    r.alt = s.z + gpsError_[2] + noise_.normal(0, white);
    if (o_.gpsVelocities) {
        r.velocities = true;
        const bool flying = t >= m_.trajectory.launchTime() && t < m_.trajectory.endTime();
        r.ewv = (flying ? s.wind.u : 0.0) + noise_.normal(0, 0.15);
        r.nsv = (flying ? s.wind.v : 0.0) + noise_.normal(0, 0.15);
        r.udv = s.w + noise_.normal(0, 0.15);
    }
    m_.clock.timeOfDay(ms, r.hour, r.minute, r.second);
    valid = !faults_.chance(o_.faults.badGps);
    if (!valid)
        r.lat = r.lon = std::numeric_limits<double>::quiet_NaN();
    return encodeGps(r);
}

Packet Generator::ozonePacket(double t, int index)
{
    const OzonesondeSetup& sonde = m_.chain[static_cast<std::size_t>(index)];
    const FlightState s = m_.trajectory.at(t);
    const double p = m_.atmosphere.pressureAt(s.z);
    const double o3 = m_.ozone.partialPressure(p) * sonde.response;
    OzoneReading r;
    r.position = sonde.position;
    r.tp = quantize(pumpTemperature(sonde, t) + noise_.normal(0, 0.02), 0.01);
    // Before the separator the processing evaluates the equation at the
    // configured surface pressure, in flight at the measured one.
    const double pEq = t < m_.trajectory.separatorTime() ? m_.configSurfaceP : p;
    const double bkgRef = m_.tables.backgroundAtSurface(sonde.bkg, m_.configSurfaceP);
    r.ic = sonde.hasCell ? cellCurrentAt(t, index) : cellCurrent(o3, pEq, r.tp, bkgRef, sonde.flow, m_.tables);
    // A dead cell: from the launch on a little less than its background.
    if (sonde.position == o_.deadCell && t >= m_.trajectory.launchTime())
        r.ic = sonde.bkg * 0.8;
    r.ip = sonde.ip0 + 25 * (1 - p / m_.atmosphere.surfacePressure()) + noise_.normal(0, 0.7);
    r.bat = sonde.bat0 - 1.0 * t / m_.trajectory.endTime() + noise_.normal(0, 0.02);
    return encodeOzone(r);
}

// The fast current the cell settles to at time t: the true ozone through the
// pump's true flow at the true pump-air temperature, which lies above the
// thermistor's reading by the offsets of its place.
double Generator::settledFast(double t, const OzonesondeSetup& sonde) const
{
    const double p = m_.atmosphere.pressureAt(m_.trajectory.at(t).z);
    const double pO3 = m_.ozone.partialPressure(p) * sonde.response / 10; // mPa
    const double tPumpK = pumpTemperature(sonde, t) + 273.15 + pumpTemperatureOffset(sonde.cell.thermistor, p);
    return settledFastCurrent(sonde.cell, pO3, p, tPumpK, sonde.flow);
}

// The cell current at time t, with the history of both reaction pathways
// integrated in steps of at most 0.25 s since the previous record (also
// across gaps in the telemetry). The cell was sampling the surface air
// before its first record.
double Generator::cellCurrentAt(double t, int index)
{
    const OzonesondeSetup& sonde = m_.chain[static_cast<std::size_t>(index)];
    std::optional<CellResponse>& cell = cells_[index];
    double& at = cellTime_[index];
    if (!cell) {
        cell.emplace(sonde.cell, settledFast(t, sonde));
        at = t;
        return cell->current() + cellNoise_.normal(0, o_.cell.noise);
    }
    const int steps = std::max(1, static_cast<int>(std::ceil((t - at) / 0.25)));
    const double dt = (t - at) / steps;
    for (int i = 1; i <= steps; ++i)
        cell->advance(dt, settledFast(at + i * dt, sonde));
    at = t;
    return cell->current() + cellNoise_.normal(0, o_.cell.noise);
}

Packet Generator::auxPacket()
{
    std::uint8_t data[6];
    for (auto& b : data)
        b = static_cast<std::uint8_t>(noise_.integer(0, 255));
    return encodeAux(static_cast<std::uint8_t>(noise_.integer(2, 5)), data, 6);
}

Packet Generator::unknownPacket()
{
    static const std::uint8_t types[] = {0, 6, 7, 8, 9, 0x10, 0xFF};
    std::uint8_t data[16];
    const int n = faults_.integer(4, 16);
    for (int i = 0; i < n; ++i)
        data[i] = static_cast<std::uint8_t>(faults_.integer(0, 255));
    data[0] = static_cast<std::uint8_t>(n);
    data[1] = types[faults_.integer(0, 6)];
    return rawPacket(data, n);
}

} // namespace

ExpectedCounts generateTelemetry(const FlightModel& model, RawFileWriter& out)
{
    Generator g(model);
    return g.run(out);
}

} // namespace lumo::sim
