#include "correctiontables.h"

#include <algorithm>

#include "numberformat.h"

namespace lumo::sim {

namespace {

// First row at or below x; rows.size() when x lies below the last row.
std::size_t firstAtOrBelow(const std::vector<TableRow>& rows, double x)
{
    std::size_t j = 0;
    while (j < rows.size() && rows[j].p > x)
        ++j;
    return j;
}

double interpolate(const TableRow& a, const TableRow& b, double x)
{
    return a.factor - (a.p - x) * (a.factor - b.factor) / (a.p - b.p);
}

} // namespace

CorrectionTables CorrectionTables::standard()
{
    CorrectionTables t;
    t.efficiency = {{1000, 1.000}, {500, 1.000}, {300, 1.000}, {200, 1.020}, {100, 1.033}, {50, 1.051},
        {30, 1.070}, {20, 1.091}, {10, 1.146}, {5, 1.261}, {3, 1.306}, {2, 1.329}};
    t.background = {{1000, 1.000}, {800, 0.800}, {600, 0.600}, {400, 0.400}, {200, 0.200}, {100, 0.100},
        {50, 0.050}, {20, 0.020}, {10, 0.010}};
    return t;
}

double CorrectionTables::backgroundFactor(double x) const
{
    const auto& r = background;
    if (r.empty() || x > 1200 || x < 0.5)
        return 1.0;
    const std::size_t j = firstAtOrBelow(r, x);
    if (j == 0)
        return 1.0;
    if (j == r.size())
        return r.back().factor;
    if (r[j].p == x)
        return r[j].factor;
    if (r[j - 1].p == r[j].p)
        return r[j - 1].factor;
    return interpolate(r[j - 1], r[j], x);
}

double CorrectionTables::efficiencyFactor(double x) const
{
    const auto& r = efficiency;
    if (r.empty() || x > 1200 || x < 0.5)
        return 1.0;
    const std::size_t j = firstAtOrBelow(r, x);
    if (j == 0)
        return 1.0;
    if (j == r.size()) {
        // Above the table the pump keeps losing efficiency at the rate of
        // the last two rows.
        const std::size_t n = r.size();
        if (n < 2 || r[n - 2].p == r[n - 1].p)
            return r[n - 1].factor;
        const double s = (r[n - 2].factor - r[n - 1].factor) / (r[n - 2].p - r[n - 1].p);
        return s * x + (r[n - 1].factor - s * r[n - 1].p);
    }
    if (r[j].p == x)
        return r[j].factor;
    if (r[j - 1].p == r[j].p)
        return r[j - 1].factor;
    return interpolate(r[j - 1], r[j], x);
}

double CorrectionTables::backgroundAtSurface(double b, double ps) const
{
    const auto& r = background;
    if (r.empty() || ps <= 0 || b <= 0)
        return b;
    const std::size_t j = firstAtOrBelow(r, ps);
    if (j == 0)
        return b;
    double factor = 0;
    if (j == r.size())
        factor = r.back().factor;
    else if (r[j].p == ps)
        factor = r[j].factor;
    else if (r[j - 1].p == r[j].p)
        return b;
    else
        factor = interpolate(r[j - 1], r[j], ps);
    return factor == 0 ? b : b / factor;
}

std::string formatTableFile(const std::vector<TableRow>& rows)
{
    std::string out;
    for (const auto& row : rows) {
        std::string p = formatFixed(row.p, 1);
        p.resize(std::max<std::size_t>(p.size(), 8), ' ');
        out += p;
        out += ' ';
        out += formatFixed(row.factor, 3);
        out += "\r\n";
    }
    return out;
}

} // namespace lumo::sim
