#include "column.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <vector>

#include "flight/datetime.h"
#include "flight/numbertext.h"
#include "flight/q5.h"

namespace lumo {

namespace {

constexpr double CmrStep = 0.1;          // hPa
constexpr double CmrStop = CmrStep / 2;  // below this the closed-form last layer takes over
constexpr int TableFields = 14;          // pressure, 12 months, one unused
constexpr int TableLineMax = 500;        // 499 characters and the terminator

bool isSeparator(char c) { return static_cast<unsigned char>(c) <= ' ' || c == 0x7f; }

std::vector<std::string_view> splitFields(const char* line)
{
    std::vector<std::string_view> fields;
    const char* s = line;
    while (*s) {
        while (*s && isSeparator(*s))
            ++s;
        const char* b = s;
        while (*s && !isSeparator(*s))
            ++s;
        if (s > b)
            fields.emplace_back(b, static_cast<std::size_t>(s - b));
    }
    return fields;
}

bool parseTableField(std::string_view text, double& value)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, value);
    return res.ec == std::errc() && res.ptr == end;
}

bool containsNoCase(const char* line, const std::string& label)
{
    std::string lower(line);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(label) != std::string::npos;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

MeasuredColumnSum::MeasuredColumnSum(Q5& q)
    : q_(q), p0_(columnBasePressure(q))
{
    for (int h = 0; h < MaxSondes; ++h) {
        q.o3Measured[h] = Missing;
        q.o3TopMix[h] = Missing;
    }
}

void MeasuredColumnSum::add(int h, const RawRecord* prev, double prevP, const RawRecord& r, double p)
{
    const double o3pp = r.data.o3.o3pp;
    if (!prev) {
        q_.o3Measured[h] = std::log(p0_ / p) * (q_.sfcO3[h] + o3pp) * DobsonPerNbLnP;
        return;
    }
    const double prevO3pp = prev->data.o3.o3pp;
    q_.o3Measured[h] += std::log(prevP / p) * (prevO3pp + o3pp) * DobsonPerNbLnP;
    q_.o3TopMix[h] = (prevO3pp + o3pp) / (prevP + p);
}

void measuredColumns(Q5& q)
{
    MeasuredColumnSum sum(q);
    forEachColumnSample(q, [&sum](int h, const RawRecord* prev, double prevP, const RawRecord& r, double p) {
        sum.add(h, prev, prevP, r, p);
    });
}

double burstPressure(const Q5& q)
{
    if (!q.burstRec)
        return Missing;
    return q.lDetGps ? q.burstRec->data.gps.gpsP : q.burstRec->data.ptu.p - q.sfcCorrP;
}

double cmrResidual(double pb, double topMix)
{
    if (!(pb > 0))
        return 0;
    double residual = 0;
    double upper = pb, lower = pb;
    while (lower > CmrStop) {
        residual += std::log(upper / lower) * topMix * DobsonPerNbLnP * (upper + lower);
        upper = lower;
        lower -= CmrStep;
    }
    // From `upper` to 0 hPa the partial pressure falls in proportion to p:
    // the layer sum tends to 2 x upper x mixing ratio.
    residual += 2 * upper * topMix * DobsonPerNbLnP;
    return residual;
}

std::string tozBandLabel(double lat)
{
    // A configured latitude beyond the poles (or beyond the int range) names
    // the band past the pole, which no table holds.
    const double bounded = !(lat >= -90) ? -90.0 : (lat > 90 ? 90.0 : lat);
    const int lo = std::abs(static_cast<int>(bounded) / 10) * 10;
    const int hi = lo + 10;
    const char hemi = lat > 0 ? 'n' : 's';
    char buf[32];
    if (lo == 0)
        std::snprintf(buf, sizeof buf, "[0-%d%c]", hi, hemi);
    else
        std::snprintf(buf, sizeof buf, "[%d%c-%d%c]", lo, hemi, hi, hemi);
    return buf;
}

TableResidualStatus lookUpTableResidual(const std::string& path, double lat, int month, double pb,
                                        double& residual)
{
    residual = 0;
    if (path.empty())
        return TableResidualStatus::NoFile;
    if (month < 1 || month > 12)
        return TableResidualStatus::BadMonth;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    if (!file)
        return TableResidualStatus::CannotOpen;
    char line[TableLineMax];
    const std::string label = tozBandLabel(lat);
    bool found = false;
    while (!found && std::fgets(line, sizeof line, file.get()))
        found = containsNoCase(line, label);
    if (!found || !std::fgets(line, sizeof line, file.get())) // heading line
        return TableResidualStatus::NoBand;
    double lowP = 0, lowV = 0, upP = 0, upV = 0;
    bool upper = false;
    while (!upper && std::fgets(line, sizeof line, file.get())) {
        const auto fields = splitFields(line);
        double p, v;
        if (fields.size() != TableFields || !parseTableField(fields[0], p) || !parseTableField(fields[month], v))
            continue;
        if (p <= pb) {
            lowP = p;
            lowV = v;
        } else {
            upP = p;
            upV = v;
            upper = true;
        }
    }
    if (!upper)
        return TableResidualStatus::NoRowAbove;
    residual = lowP != upP ? lowV + (upV - lowV) * (pb - lowP) / (upP - lowP) : 0;
    return TableResidualStatus::Ok;
}

bool tableResidual(const std::string& path, double lat, int month, double pb, double& residual)
{
    return lookUpTableResidual(path, lat, month, pb, residual) == TableResidualStatus::Ok;
}

std::string tableResidualProblem(TableResidualStatus status, const std::string& path, double lat, double pb)
{
    const std::string pressure = formatFixed(pb, 2) + " hPa";
    switch (status) {
    case TableResidualStatus::Ok:
        return "";
    case TableResidualStatus::NoFile:
        return "no residual table is named in the preferences";
    case TableResidualStatus::CannotOpen:
        return "the residual table " + path + " cannot be opened";
    case TableResidualStatus::NoBand:
        return "the residual table " + path + " has no rows for the station's band " + tozBandLabel(lat);
    case TableResidualStatus::NoRowAbove:
        return "the residual table " + path + " ends below the burst pressure " + pressure;
    case TableResidualStatus::BadMonth:
        return "the burst has no valid month";
    }
    return "";
}

namespace {

void residualUnknown(Q5& q, const std::string& why, double pb)
{
    for (int h = 0; h < MaxSondes; ++h)
        q.o3Residual[h] = q.o3Sonde[h].sn[0] ? Missing : 0;
    std::vector<WarningValue> values;
    if (pb != Missing)
        values.push_back({"burstPressure", pb});
    addWarning(q.warnings, "residual-unknown",
               "Residual ozone not determined: " + why + "; residual and total column are unknown.",
               std::move(values));
}

} // namespace

void totalOzone(Q5& q)
{
    measuredColumns(q);
    residualColumns(q);
}

void residualColumns(Q5& q)
{
    if (!q.burstRec) {
        residualUnknown(q, "no burst was detected", Missing);
        return;
    }
    const double pb = burstPressure(q);
    if (!q.resTable) {
        // CMR continues the top mixing ratio, which a column without samples lacks.
        for (int h = 0; h < MaxSondes; ++h)
            q.o3Residual[h] = !q.o3Sonde[h].sn[0] ? 0
                              : q.o3TopMix[h] == Missing ? Missing
                                                         : cmrResidual(pb, q.o3TopMix[h]);
        return;
    }
    double residual = 0;
    const TableResidualStatus status =
        lookUpTableResidual(q.resTableFile, q.stnLat, decodeDateTime(q.burstRec->time).month, pb, residual);
    if (status != TableResidualStatus::Ok) {
        residualUnknown(q, tableResidualProblem(status, q.resTableFile, q.stnLat, pb), pb);
        return;
    }
    for (int h = 0; h < MaxSondes; ++h)
        q.o3Residual[h] = q.o3Sonde[h].sn[0] ? residual : 0;
}

} // namespace lumo
