#include "readconfig.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "archivekeys.h"
#include "datetime.h"
#include "ini.h"
#include "numbertext.h"
#include "q5.h"
#include "sondeinputs.h"
#include "textfield.h"

namespace lumo {

namespace {

// "yyyy/mm/dd"; blanks around the text are allowed.
bool parseDate(std::string_view text, int& year, int& month, int& day)
{
    text = trimBlanks(text);
    int parts[3] = {0, 0, 0};
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            if (i >= text.size() || text[i] != '/')
                return false;
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 5)
            parts[k] = parts[k] * 10 + (text[i++] - '0');
        if (i == start)
            return false;
    }
    if (i != text.size() || !isValidDate(parts[0], parts[1], parts[2]))
        return false;
    year = parts[0];
    month = parts[1];
    day = parts[2];
    return true;
}

std::string formatDate(const DateParts& d)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", d.year, d.month, d.day);
    return text;
}

// Splits a table row at commas (runs of commas are one separator, leading
// commas are skipped) and returns the first two fields.
void splitRow(std::string_view row, std::string_view fields[2], int& count)
{
    count = 0;
    std::size_t i = 0;
    while (count < 2) {
        while (i < row.size() && row[i] == ',')
            ++i;
        if (i >= row.size())
            break;
        const std::size_t start = i;
        while (i < row.size() && row[i] != ',')
            ++i;
        fields[count++] = row.substr(start, i - start);
    }
}

// Numbers beyond any instrument's range (1e308, or an overflow read as
// infinite) would overflow the processing run: such a file is not usable.
constexpr double MaxMagnitude = 1e6;
bool inRange(double v) { return std::fabs(v) <= MaxMagnitude; }

// Reads one correction table; `mark` is 0 for the background table and
// ConfigPumpTable for the pump-efficiency table.
unsigned readTable(const IniFile& ini, const char* section, char (&file)[255], double (&pCol)[MaxTableRows],
                   double (&valCol)[MaxTableRows], std::uint8_t& count, unsigned mark)
{
    IniReadText(section, "file", "", file, ini);
    for (int r = 0; r < MaxTableRows; ++r)
        pCol[r] = valCol[r] = 0;
    count = 0;
    int n = IniReadInt(section, "n", 0, ini);
    if (n < 1)
        return ConfigTableCount | mark;
    if (n > MaxTableRows)
        n = MaxTableRows;
    count = static_cast<std::uint8_t>(n);
    unsigned status = 0;
    for (int r = 0; r < n; ++r) {
        char key[8];
        std::snprintf(key, sizeof key, "%02d", r);
        char row[1000];
        if (trimBlanks(std::string_view(row, IniReadText(section, key, "", row, ini))).empty())
            continue; // an absent row stays (0, 0)
        std::string_view fields[2];
        int nFields = 0;
        splitRow(row, fields, nFields);
        double v = 0;
        if (nFields > 0 && parseNumber(fields[0], v) && inRange(v))
            pCol[r] = v;
        else
            status |= ConfigTableRow | mark;
        if (nFields > 1 && parseNumber(fields[1], v) && inRange(v))
            valCol[r] = v;
        else
            status |= ConfigTableRow | mark;
    }
    return status;
}

} // namespace

unsigned readFlightConfig(FlightConfig& cfg, const std::string& path)
{
    const IniFile ini(path);
    unsigned status = 0;

    IniReadText("station", "name", "None", cfg.stnName, ini);
    cfg.stnLat = IniReadNumber("station", "lat", 0, ini);
    cfg.stnLong = IniReadNumber("station", "long", 0, ini);
    cfg.stnAlt = IniReadNumber("station", "alt", 0, ini);
    const DateParts today = decodeDateTime(nowDateTime());
    char dateText[1000];
    IniReadText("station", "date", formatDate(today), dateText, ini);
    int year = today.year, month = today.month, day = today.day;
    if (!parseDate(dateText, year, month, day)) {
        year = today.year;
        month = today.month;
        day = today.day;
    }
    cfg.fltYear = static_cast<std::uint16_t>(year);
    cfg.fltMonth = static_cast<std::uint16_t>(month);
    cfg.fltDay = static_cast<std::uint16_t>(day);

    IniReadText("radiosonde", "sondeID", "S0000", cfg.rsSondeId, ini);
    IniReadText("radiosonde", "probeID", "", cfg.rsProbeId, ini);
    cfg.rsPrInst = IniReadInt("radiosonde", "P_inst", 1, ini) != 0;
    cfg.rsGpsInst = IniReadInt("radiosonde", "GPS_inst", 1, ini) != 0;

    status |= readTable(ini, "bkg_corr", cfg.bkgFile, cfg.bkgP, cfg.bkgVal, cfg.bkgCount, 0);
    status |= readTable(ini, "pmp_eff", cfg.effFile, cfg.effP, cfg.effVal, cfg.effCount, ConfigPumpTable);

    for (int i = 0; i < MaxSondes; ++i) {
        O3SondeCfg& sonde = cfg.o3Sonde[i];
        sonde = O3SondeCfg{};
        char section[24];
        std::snprintf(section, sizeof section, "ozonesonde#%d", i + 1);
        if (IniReadText(section, "sn", "", sonde.sn, ini) == 0)
            continue; // position not in use
        sonde.bkg = IniReadNumber(section, "bkg", -1, ini);
        sonde.flow = IniReadNumber(section, "flow", -1, ini);
        // The negated tests also catch a value that is not a number.
        if (!(sonde.bkg >= 0) || !(sonde.flow > 0) || !inRange(sonde.bkg) || !inRange(sonde.flow)) {
            // An invalid entry ends all zero, like one not in use.
            sonde = O3SondeCfg{};
            status |= ConfigSonde;
        }
    }

    cfg.sfcP = IniReadNumber("surface", "p", 0, ini);
    cfg.sfcT = IniReadNumber("surface", "t", 0, ini);
    cfg.sfcU = IniReadNumber("surface", "u", 0, ini);
    for (int i = 0; i < MaxSondes; ++i) {
        char key[8];
        std::snprintf(key, sizeof key, "o3#%d", i + 1);
        cfg.sfcO3[i] = IniReadNumber("surface", key, 0, ini);
    }
    cfg.stdP = IniReadNumber("standard", "p", 0, ini);
    cfg.stdT = IniReadNumber("standard", "t", 0, ini);
    cfg.stdU = IniReadNumber("standard", "u", 0, ini);
    for (double v : {cfg.stnLat, cfg.stnLong, cfg.stnAlt, cfg.sfcP, cfg.sfcT, cfg.sfcU, cfg.stdP, cfg.stdT, cfg.stdU,
                     cfg.sfcO3[0], cfg.sfcO3[1], cfg.sfcO3[2], cfg.sfcO3[3]})
        if (!inRange(v))
            status |= ConfigValueRange;
    readArchiveKeys(cfg, ini);
    readSondeInputs(cfg, ini);
    return status;
}

bool Q5::ReadConfig(const std::string& path) { return readFlightConfig(*this, path) == 0; }

} // namespace lumo
