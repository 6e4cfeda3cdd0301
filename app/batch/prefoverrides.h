#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "processing/preferences.h"

namespace lumo::batch {

// One key of the preferences file set for one run, over the file's value.
struct PreferenceOverride {
    std::string section;
    std::string key;
    std::string value; // as the file would hold it
};

// The section and key a name stands for: "section.key" or "section_key"
// name any key of any section as given; a bare key of the sections "pref",
// "o3", "uncertainty" and "archive" ("LPfilter", "residual") finds its
// section, without regard to case. Nothing for a bare name of no section.
std::optional<PreferenceOverride> preferenceKey(std::string_view name);

// The preferences of `file` (the defaults when empty or missing) with the
// overrides in place, read by the core's own reader so that every rule and
// fall-back of the file holds for them too. A file the user named that does
// not exist still gives the "prefs-missing" warning. False, with `error`
// set, when the scratch copy cannot be written.
bool readPreferencesWith(const std::string& file, const std::vector<PreferenceOverride>& overrides,
                         Preferences& prefs, std::string& error);

} // namespace lumo::batch
