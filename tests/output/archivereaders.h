#pragma once

// Independent readers of the archive formats, written from the formats'
// rules (not from the writers), so that a test can parse a file back.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace lumo::test {

// Lines of a CR LF text; false (with a test failure) when a line ends otherwise.
inline std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t lf = text.find('\n', start);
        EXPECT_NE(lf, std::string::npos) << "last line without a line end";
        if (lf == std::string::npos)
            break;
        EXPECT_TRUE(lf > start && text[lf - 1] == '\r') << "line " << lines.size() + 1 << " does not end in CR LF";
        lines.push_back(text.substr(start, lf > start ? lf - start - 1 : 0));
        start = lf + 1;
    }
    return lines;
}

// One comma-separated line, with quoted values (quotes doubled inside).
inline std::vector<std::string> csvFields(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

struct CsvTable {
    std::string name;
    std::vector<std::string> fields;
    std::vector<std::vector<std::string>> rows;

    std::string value(const std::string& field, std::size_t row = 0) const
    {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i] == field && row < rows.size())
                return rows[row][i];
        ADD_FAILURE() << "#" << name << " has no field " << field;
        return {};
    }
};

// The tables of an extended CSV file, in order; every row must have as many
// values as its table has fields.
inline std::vector<CsvTable> readExtCsv(const std::string& text)
{
    std::vector<CsvTable> tables;
    bool wantFields = false;
    for (const std::string& line : crlfLines(text)) {
        if (line.empty()) {
            wantFields = false;
            continue;
        }
        if (line[0] == '*')
            continue;
        if (line[0] == '#') {
            tables.push_back({line.substr(1), {}, {}});
            wantFields = true;
            continue;
        }
        EXPECT_FALSE(tables.empty()) << "value line before any table: " << line;
        if (tables.empty())
            continue;
        CsvTable& t = tables.back();
        if (wantFields) {
            t.fields = csvFields(line);
            wantFields = false;
        } else {
            t.rows.push_back(csvFields(line));
            EXPECT_EQ(t.rows.back().size(), t.fields.size()) << "#" << t.name << ": " << line;
        }
    }
    return tables;
}

// A NASA Ames FFI 2160 file read by its header counts, the way common
// readers do: header items and data items split at blanks, so a blank inside
// a one-item value shifts everything after it.
struct AmesFile {
    std::string catalogue; // the NDACC line before the header, when there is one
    int nlhead = 0, ffi = 0, nv = 0, nauxv = 0, nauxc = 0;
    std::vector<double> vmiss;
    std::vector<int> lena;                // lengths of the character auxiliary values
    std::vector<std::string> amissText;   // their missing values
    std::vector<std::string> vnames, anames;
    std::string stationName;
    std::vector<double> aux;              // numeric auxiliary values
    std::vector<std::string> auxText;     // character auxiliary values, one a line
    std::vector<std::vector<double>> records; // time after launch, then the NV values
};

inline std::vector<double> numbers(const std::string& line)
{
    std::istringstream in(line);
    std::vector<double> v;
    double x = 0;
    while (in >> x)
        v.push_back(x);
    EXPECT_TRUE(in.eof()) << "not a number in: " << line;
    return v;
}

// The blank-separated items of a line.
inline std::vector<std::string> items(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> v;
    std::string w;
    while (in >> w)
        v.push_back(w);
    return v;
}

inline AmesFile readAmes(const std::string& text)
{
    AmesFile f;
    const std::vector<std::string> lines = crlfLines(text);
    std::size_t i = 0;
    const auto next = [&]() -> std::string {
        EXPECT_LT(i, lines.size()) << "file ends early";
        return i < lines.size() ? lines[i++] : std::string();
    };
    // n numbers, over as many lines as they take.
    const auto list = [&](int n) {
        std::vector<double> v;
        while (static_cast<int>(v.size()) < n && i < lines.size()) {
            const std::vector<double> more = numbers(next());
            v.insert(v.end(), more.begin(), more.end());
        }
        EXPECT_EQ(static_cast<int>(v.size()), n);
        return v;
    };
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 132u) << line;
        for (char c : line)
            EXPECT_TRUE(c >= 0x20 && c <= 0x7e) << "not printable ASCII: " << line;
    }
    if (!lines.empty() && items(lines[0]).size() != 2)
        f.catalogue = next();
    const std::size_t headerStart = i;
    const std::vector<double> first = numbers(next());
    if (first.size() != 2)
        return f;
    f.nlhead = static_cast<int>(first[0]);
    f.ffi = static_cast<int>(first[1]);
    i += 4;               // originator, organisation, source, mission
    EXPECT_EQ(numbers(next()).size(), 2u); // IVOL NVOL
    EXPECT_EQ(numbers(next()).size(), 6u); // first-data and revision dates
    list(1);              // DX
    list(1);              // LENX
    i += 2;               // names of the independent variables
    f.nv = static_cast<int>(list(1).at(0));
    list(f.nv);           // scale factors
    f.vmiss = list(f.nv);
    for (int k = 0; k < f.nv; ++k)
        f.vnames.push_back(next());
    f.nauxv = static_cast<int>(list(1).at(0));
    f.nauxc = static_cast<int>(list(1).at(0));
    list(f.nauxv - f.nauxc); // scale factors
    list(f.nauxv - f.nauxc); // missing values
    for (double n : list(f.nauxc)) // lengths of the text values
        f.lena.push_back(static_cast<int>(n));
    for (int k = 0; k < f.nauxc; ++k) { // their missing texts, one item each
        const std::vector<std::string> w = items(next());
        EXPECT_EQ(w.size(), 1u) << "missing text of character variable " << k + 1 << " is not one item";
        f.amissText.push_back(w.empty() ? std::string() : w[0]);
    }
    for (int k = 0; k < f.nauxv; ++k)
        f.anames.push_back(next());
    i += static_cast<std::size_t>(list(1).at(0)); // special comments
    i += static_cast<std::size_t>(list(1).at(0)); // normal comments
    EXPECT_EQ(static_cast<int>(i - headerStart), f.nlhead) << "NLHEAD is not the count of header lines";
    const std::vector<std::string> station = items(next());
    EXPECT_EQ(station.size(), 1u) << "the station name is not one item";
    f.stationName = station.empty() ? std::string() : station[0];
    f.aux = list(f.nauxv - f.nauxc);
    for (int k = 0; k < f.nauxc; ++k)
        f.auxText.push_back(next());
    // A record may continue on further lines until it holds its NV + 1 values.
    while (i < lines.size()) {
        f.records.push_back(numbers(next()));
        while (static_cast<int>(f.records.back().size()) < f.nv + 1 && i < lines.size()) {
            const std::vector<double> more = numbers(next());
            f.records.back().insert(f.records.back().end(), more.begin(), more.end());
        }
        EXPECT_EQ(static_cast<int>(f.records.back().size()), f.nv + 1) << lines[i - 1];
    }
    return f;
}

// The column (DU) of a profile by the trapezoid in ln p over consecutive
// levels, pressures in hPa and partial pressures in mPa.
inline double columnDu(const std::vector<double>& p, const std::vector<double>& o3)
{
    double sum = 0;
    for (std::size_t k = 0; k + 1 < p.size(); ++k)
        sum += 3.9449 * (o3[k] + o3[k + 1]) * std::log(p[k] / p[k + 1]);
    return sum;
}

} // namespace lumo::test
