// The export formatter must give exactly printf's digits (the files have been
// written with printf formats for years) and CR LF line ends.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "output/exportstream.h"
#include "testflight.h"

namespace lumo {
namespace {

std::string printfFixed(const char* format, double v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

template <typename Fill>
std::string streamed(Fill fill)
{
    return test::captureOutput([&](std::FILE* f) {
        ExportStream out(f);
        fill(out);
        return out.flush();
    });
}

TEST(ExportStream, FixedMatchesPrintfForEveryExportFormat)
{
    struct Format {
        const char* printf;
        int width, precision;
    };
    const Format formats[] = {{"%8.2f", 8, 2},   {"%6.1f", 6, 1}, {"%6.2f", 6, 2},  {"%8.1f", 8, 1},
                              {"%10.5f", 10, 5}, {"%11.5f", 11, 5}, {"%9.3f", 9, 3}, {"%9.2f", 9, 2},
                              {"%9.0f", 9, 0},   {"%9.1f", 9, 1}, {"%1.4f", 1, 4},  {"%1.1f", 1, 1},
                              {"%1.3f", 1, 3}};
    std::mt19937_64 rng(20260621);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-8, 7);
    std::vector<double> values = {0.0, -0.0, Missing, 0.005, 0.015, 0.025, 2.5, 3.5, -2.5, 0.125, 1e15, -1e-9,
                                  529.75, 1013.245, 99999999.5, std::nan(""), INFINITY, -INFINITY};
    for (int i = 0; i < 4000; ++i)
        values.push_back(mantissa(rng) * std::pow(10.0, exponent(rng)));

    for (const Format& f : formats) {
        for (double v : values) {
            const std::string got = streamed([&](ExportStream& out) { out.fixed(v, f.width, f.precision); });
            ASSERT_EQ(got, printfFixed(f.printf, v)) << f.printf << " of " << v;
        }
    }
}

TEST(ExportStream, LeftAlignedAndIntegerFields)
{
    for (double v : {1000.0, 0.0, 12345678.9, -5.25, 999.95}) {
        EXPECT_EQ(streamed([&](ExportStream& out) { out.fixedLeft(v, 8, 1); }), printfFixed("%-8.1f", v));
    }
    char buf[64];
    for (long long v : {0LL, 7LL, -7LL, 123LL, 255LL, -1234LL, 2026LL}) {
        std::snprintf(buf, sizeof buf, "%6lld|%02lld|%04lld|%03lld", v, v, v, v);
        EXPECT_EQ(streamed([&](ExportStream& out) {
                      out.integer(v, 6).text("|").zeroPadded(v, 2).text("|").zeroPadded(v, 4).text("|").zeroPadded(v, 3);
                  }),
                  buf);
    }
}

TEST(ExportStream, LineEndsAreCrLfAndLongOutputIsKeptWhole)
{
    const std::string text = streamed([](ExportStream& out) {
        out.line("a").endLine().text("b");
        // Far beyond the internal buffer, so several flushes happen.
        for (int i = 0; i < 50000; ++i)
            out.fixed(i, 8, 1).endLine();
    });
    ASSERT_EQ(text.substr(0, 6), "a\r\n\r\nb");
    EXPECT_EQ(text.size(), 6 + 50000 * 10u);
    EXPECT_EQ(text.substr(text.size() - 10), " 49999.0\r\n");
}

} // namespace
} // namespace lumo
