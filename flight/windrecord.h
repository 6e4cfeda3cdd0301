#pragma once

namespace lumo {

struct WindRecord {
    double time = 0; // days since 1899-12-30
    double alt = 0;  // m
    double wd = 0;   // wind direction, degrees
    double ws = 0;   // speed, m/s
    WindRecord* prev = nullptr;
    WindRecord* next = nullptr;
};

} // namespace lumo
