#include "random.h"

#include <cmath>

namespace lumo::sim {

namespace {

// SplitMix64 finaliser: spreads neighbouring seeds over the whole state space.
std::uint64_t mix(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

} // namespace

Random Random::stream(std::uint64_t seed, std::uint64_t concern)
{
    return Random(mix(mix(seed) ^ (concern * 0xD1B54A32D192ED03ULL)));
}

double Random::uniform()
{
    return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

double Random::uniform(double lo, double hi)
{
    return lo + (hi - lo) * uniform();
}

double Random::normal()
{
    // Marsaglia's polar method; the second value of each pair is kept.
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    double u = 0, v = 0, s = 0;
    do {
        u = uniform() * 2.0 - 1.0;
        v = uniform() * 2.0 - 1.0;
        s = u * u + v * v;
    } while (s >= 1.0 || s == 0.0);
    const double f = std::sqrt(-2.0 * std::log(s) / s);
    spare_ = v * f;
    hasSpare_ = true;
    return u * f;
}

int Random::integer(int lo, int hi)
{
    const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
    return lo + static_cast<int>(engine_() % span);
}

} // namespace lumo::sim
