#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/batchrun.h"

namespace lumo::test {

// Every stdout line is a JSON value; null appears only where a value may be
// absent or unknown ("error", "launch", "burst", the optional archive values
// of the configuration, the columns and their uncertainties, the correction
// factor, the tropopauses, the surface values of a flight not processed,
// the classic column beside the measured one),
// never for a number that is not finite.
inline bool mayBeNull(const std::string& key)
{
    for (const char* k : {"error", "launch", "burst", "solutionVolume", "ib0", "ib1", "ib2", "flowTemp",
                          "flowHumidity", "totalO3", "measuredUncertainty", "residualUncertainty",
                          "totalUncertainty", "correctionFactor", "tropopause", "tropopause2", "measured", "residual",
                          "total", "topMix", "classicMeasured", "sfcP", "sfcT", "sfcU", "sfcO3"})
        if (key == k)
            return true;
    return false;
}

inline void expectCleanJsonLines(const test::BatchResult& r)
{
    for (const std::string& line : r.lines()) {
        const auto j = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(j.is_discarded()) << line.substr(0, 200);
        std::vector<const nlohmann::json*> stack = {&j};
        while (!stack.empty()) {
            const nlohmann::json* v = stack.back();
            stack.pop_back();
            if (v->is_object()) {
                for (auto it = v->begin(); it != v->end(); ++it) {
                    if (it.value().is_null()) {
                        EXPECT_TRUE(mayBeNull(it.key())) << it.key() << " in " << line.substr(0, 200);
                    }
                    // An array of values that may be unknown, one by one.
                    if (it.value().is_array() && mayBeNull(it.key())) {
                        for (const auto& e : it.value())
                            if (!e.is_null())
                                stack.push_back(&e);
                        continue;
                    }
                    stack.push_back(&it.value());
                }
            } else if (v->is_array()) {
                for (const auto& e : *v) {
                    EXPECT_FALSE(e.is_null()) << line.substr(0, 200);
                    stack.push_back(&e);
                }
            }
        }
    }
}

} // namespace lumo::test
