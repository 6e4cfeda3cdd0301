#pragma once

#include <cstdint>
#include <random>

namespace lumo::sim {

// Seeded random numbers whose sequences are the same on every platform and
// library version: only the raw mt19937_64 output is used, the distributions
// are our own (the standard library's may give other numbers elsewhere).
class Random {
public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    // A child generator for one concern (atmosphere, noise, faults ...), so
    // that switching one option on does not shift the numbers of the others.
    static Random stream(std::uint64_t seed, std::uint64_t concern);

    double uniform();                         // [0, 1), 53 random bits
    double uniform(double lo, double hi);     // [lo, hi)
    double normal();                          // mean 0, standard deviation 1
    double normal(double mean, double sigma) { return mean + sigma * normal(); }
    int integer(int lo, int hi);              // lo..hi inclusive
    bool chance(double probability) { return probability > 0 && uniform() < probability; }

private:
    std::mt19937_64 engine_;
    double spare_ = 0;
    bool hasSpare_ = false;
};

} // namespace lumo::sim
