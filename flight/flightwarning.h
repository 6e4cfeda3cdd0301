#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lumo {

// A number a warning is about, e.g. {"pressure", 23.4} or {"sonde", 2}.
struct WarningValue {
    std::string name;
    double value = 0;
};

// One finding of the quality checks: something the user must know before
// trusting the numbers. `code` is stable (scripts match on it), `message`
// is one line for a person.
struct FlightWarning {
    std::string code;
    std::string message;
    std::vector<WarningValue> values;

    // The value of that name, or `fallback` when the warning has none.
    double value(const std::string& name, double fallback = 0) const
    {
        for (const WarningValue& v : values)
            if (v.name == name)
                return v.value;
        return fallback;
    }
};

using FlightWarnings = std::vector<FlightWarning>;

inline void addWarning(FlightWarnings& list, std::string code, std::string message,
                       std::vector<WarningValue> values = {})
{
    list.push_back(FlightWarning{std::move(code), std::move(message), std::move(values)});
}

} // namespace lumo
