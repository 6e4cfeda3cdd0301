// Numbers written by the core: the same text as printf gives in the C
// locale, whatever locale the process runs in.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "flight/numbertext.h"

namespace lumo {
namespace {

TEST(NumberFormatting, MatchesPrintfInTheCLocale)
{
    const char* formats[] = {"%1.2f", "%1.1f", "%1.4f", "%8.3f", "%.0f"};
    const double values[] = {0, -0.0, 0.125, 0.375, 2.5, -2.675, 1013.25, 1e-7, -1e-3, 123456789.987654, 1e300};
    for (const char* format : formats) {
        for (double v : values) {
            char expected[512];
            std::snprintf(expected, sizeof expected, format, v);
            EXPECT_EQ(formatNumbers(format, {v}), expected) << format << " " << v;
        }
    }
    EXPECT_EQ(formatNumbers("p = %1.2f, t = %1.1f %% %d", {1000.0, 20.04}), "p = 1000.00, t = 20.0 % %d");
    EXPECT_EQ(formatNumbers("%1.2f and %1.2f", {1.0}), "1.00 and %1.2f");
}

// Only where the machine has a locale with a decimal comma.
TEST(NumberFormatting, KeepsThePointUnderADecimalCommaLocale)
{
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"})
        if (std::setlocale(LC_NUMERIC, name)) {
            comma = name;
            break;
        }
    if (!comma)
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const std::string question = formatNumbers("p = %1.2f", {1013.25});
    const std::string fixed = formatFixed(-0.5, 1);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(question, "p = 1013.25");
    EXPECT_EQ(fixed, "-0.5");
}

} // namespace
} // namespace lumo
