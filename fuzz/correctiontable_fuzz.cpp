// The correction-table reader on arbitrary file content: counts stay within
// the table, a failed read leaves it empty, and a table read and written
// again reads back to the same rows.
#include <cmath>
#include <cstdint>

#include "fuzzsupport.h"
#include "output/correctiontable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const fuzz::ScratchFile file("table", data, size);
    double p[MaxTableRows], val[MaxTableRows];
    std::uint8_t count = 99;
    const TableFileResult r = readCorrectionTable(file.path(), p, val, count);
    if (r.status == TableFileResult::CannotOpen)
        fuzz::fail("cannot open an existing file");
    if (count > MaxTableRows)
        fuzz::fail("row count beyond the table");
    if (!r.ok() && count != 0)
        fuzz::fail("a failed read left rows");
    if (r.status == TableFileResult::BadNumber && r.line < 1)
        fuzz::fail("bad number without its line");
    tableFileMessage(TableKind::PumpEfficiency, r, file.path());

    // Round trip of the finite rows: what is written loads back.
    bool finite = true;
    for (int i = 0; i < count; ++i)
        finite = finite && std::isfinite(p[i]) && std::isfinite(val[i]) && std::fabs(p[i]) < 1e15
            && std::fabs(val[i]) < 1e15;
    if (!finite || count == 0)
        return 0;
    const fuzz::ScratchFile copy("table2", nullptr, 0);
    if (!writeCorrectionTable(copy.path(), p, val, count).ok())
        fuzz::fail("cannot write the table");
    double p2[MaxTableRows], val2[MaxTableRows];
    std::uint8_t count2 = 0;
    if (!readCorrectionTable(copy.path(), p2, val2, count2).ok() || count2 != count)
        fuzz::fail("written table does not read back");
    for (int i = 0; i < count; ++i)
        if (std::fabs(p2[i] - p[i]) > 0.05 + 1e-9 * std::fabs(p[i])
            || std::fabs(val2[i] - val[i]) > 0.0005 + 1e-9 * std::fabs(val[i]))
            fuzz::fail("row changed in the round trip");
    return 0;
}
