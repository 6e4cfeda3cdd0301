#include "prefoverrides.h"

#include <atomic>
#include <filesystem>
#include <random>

#include "flight/archivestation.h"
#include "flight/ini.h"
#include "flight/numbertext.h"

namespace lumo::batch {

namespace {

struct KnownKey {
    const char* section;
    const char* key;
};

// The keys the preferences reader takes from "pref", "o3" and
// "uncertainty"; the archive keys come from their own table.
constexpr KnownKey KnownKeys[] = {
    {"pref", "lDet"}, {"pref", "lDetVal"}, {"pref", "endFlt"}, {"pref", "endFltPr"}, {"pref", "endFltAlt"},
    {"pref", "showAll"}, {"pref", "LPfilter"}, {"o3", "residual"}, {"o3", "residualTable"},
    {"uncertainty", "currentPct"}, {"uncertainty", "backgroundUa"}, {"uncertainty", "pumpTempK"},
    {"uncertainty", "flowPct"}, {"uncertainty", "humidityPct"}, {"uncertainty", "pumpEffPct100"},
    {"uncertainty", "pumpEffPct10"}, {"uncertainty", "pumpEffPct5"}, {"uncertainty", "conversionPct"},
};

// A scratch file name no other run of this process or another uses.
std::filesystem::path scratchPath()
{
    static std::atomic<unsigned long> counter{0};
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::string name = "lumo-prefs-" + std::to_string(random()) + "-" + std::to_string(++counter) + ".ini";
    return std::filesystem::temp_directory_path() / name;
}

} // namespace

std::optional<PreferenceOverride> preferenceKey(std::string_view name)
{
    const std::size_t split = name.find_first_of("._");
    if (split != std::string_view::npos) {
        if (split == 0 || split + 1 == name.size())
            return std::nullopt;
        return PreferenceOverride{std::string(name.substr(0, split)), std::string(name.substr(split + 1)), {}};
    }
    for (const KnownKey& k : KnownKeys)
        if (equalsNoCase(name, k.key))
            return PreferenceOverride{k.section, k.key, {}};
    for (const ArchiveField& f : ArchiveFields)
        if (equalsNoCase(name, f.key))
            return PreferenceOverride{"archive", f.key, {}};
    return std::nullopt;
}

bool readPreferencesWith(const std::string& file, const std::vector<PreferenceOverride>& overrides,
                         Preferences& prefs, std::string& error)
{
    namespace fs = std::filesystem;
    if (overrides.empty()) {
        prefs = file.empty() ? Preferences{} : readPreferences(file);
    } else {
        // The reader takes a file: the overrides go into a copy of it.
        std::error_code ec;
        const fs::path scratch = scratchPath();
        if (!file.empty() && fs::is_regular_file(file, ec))
            fs::copy_file(file, scratch, fs::copy_options::overwrite_existing, ec);
        bool written = !ec;
        for (const PreferenceOverride& o : overrides)
            written = written && IniWriteText(o.section, o.key, o.value, scratch.string());
        if (written)
            prefs = readPreferences(scratch.string());
        fs::remove(scratch, ec);
        if (!written) {
            error = "Cannot write the preferences with the overrides to " + scratch.string() + ".";
            return false;
        }
    }
    if (!file.empty())
        checkPreferencesFile(prefs, file);
    return true;
}

} // namespace lumo::batch
