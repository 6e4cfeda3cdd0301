// Throughput and peak memory of the import's raw telemetry decoder on a
// synthetic 100 MB flight file (about 1.7 million lines), generated once
// into the build folder.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "flight/datetime.h"
#include "flight/q5.h"

namespace {

constexpr std::uintmax_t TargetBytes = 100u * 1000u * 1000u;

void appendHex(std::string& s, std::initializer_list<unsigned> bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    for (unsigned b : bytes) {
        s += digits[b >> 4 & 0xF];
        s += digits[b & 0xF];
    }
}

// One second of a two-ozonesonde flight: extended PTU, GPS with velocities
// and one packet per ozonesonde, each line stamped 250 ms after the last.
std::string makeBenchFile()
{
    const std::string path = std::string(LUMO_BINARY_DIR) + "/readraw-bench.raw";
    std::error_code ec;
    if (std::filesystem::file_size(path, ec) >= TargetBytes && !ec)
        return path;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return path;
    const double start = 45419.5; // 2024/05/07 12:00
    std::uintmax_t written = 0;
    std::string line;
    for (long k = 0; written < TargetBytes; ++k) {
        const lumo::DateParts d = lumo::decodeDateTime(start + k * 0.25 / lumo::SecondsPerDay);
        char stamp[40];
        std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d.%03d ", d.year, d.month, d.day, d.hour,
                      d.minute, d.second, d.msec);
        // Ten minutes on the ground, then the separator line and the flight.
        line.clear();
        if (k == 2400)
            line = "2024/05/07 12:09:59.990 \r\n";
        line += stamp;
        const unsigned second = static_cast<unsigned>(k / 4);
        const unsigned p = 96200 - static_cast<unsigned>(k % 90000); // 0.01 hPa
        switch (k % 4) {
        case 0:
            appendHex(line, {0, 4, second & 0xFF, second >> 8 & 0xFF, p & 0xFF, p >> 8 & 0xFF, p >> 16, 0xB0, 0x04,
                             0x58, 0x1B, 0x3E, 0xD0, 0x07, 0x08, 0x07, 0xCE, 0x04});
            break;
        case 1:
            appendHex(line, {0, 5, 0xCC, 0x3F, 0x3B, 0x42, 0xF9, 0x31, 0xDE, 0x40, (second + 5491) & 0xFF,
                             (second + 5491) >> 8 & 0xFF, 9, 0, 0, 0, 0x41, 0, 0, 0, 0, 0, 0, 0xA0, 0x40, 10,
                             second / 60 % 60, second % 60});
            break;
        default:
            appendHex(line, {0, 3, 0, 1, static_cast<unsigned>(k % 4 - 1), 0x01, 0xF4, 0x09, 0xC4, 0x5A, 0x5E});
            break;
        }
        line += "\r\n";
        written += std::fwrite(line.data(), 1, line.size(), f);
    }
    std::fclose(f);
    return path;
}

void BM_ReadRaw(benchmark::State& state)
{
    const std::string path = makeBenchFile();
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    lumo::Q5 q5;
    for (auto _ : state) {
        if (!q5.ReadRaw(path)) {
            state.SkipWithError("ReadRaw failed");
            break;
        }
        benchmark::DoNotOptimize(q5.sfcRecs.size());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["records"] = static_cast<double>(q5.sfcRecs.size() + q5.fltRecs.size());
    // The import keeps every record: its peak memory is the records' size,
    // unlike decode --summary, which keeps none.
    state.counters["record_bytes"] = static_cast<double>(sizeof(lumo::RawRecord));
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB_per_file_MB"] = static_cast<double>(usage.ru_maxrss) * 1024.0 / static_cast<double>(bytes);
}
BENCHMARK(BM_ReadRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace
