#pragma once

#include <array>

namespace lumo {

class Q5;

// Running order statistic over the last 15 samples: the ninth smallest
// (index 8 of the sorted ring). Slots not yet written count as zeros, so a
// short series is pulled towards 0.
class OrderStatistic {
public:
    static constexpr int RingSize = 15;
    static constexpr int Rank = 8;

    void add(double sample);
    double value() const { return value_; }

private:
    std::array<double, RingSize> ring_{};
    int pos_ = 0;
    double value_ = 0;
};

// Surface pressure, temperature and humidity statistics of
// the surface list, the three questions and the pressure check. False when
// the corrected surface pressure is invalid (the error has been shown).
bool surfaceStatistics(Q5& q);

// Partial pressures of the surface ozone samples at the
// reference surface pressure, optional filter, and sfcO3 of each ozonesonde.
void surfaceOzone(Q5& q);

// sfcO3 of each ozonesonde from the partial pressures of its surface samples.
void surfaceOzoneFromSamples(Q5& q);

} // namespace lumo
