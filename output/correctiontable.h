#pragma once

#include <cstdint>
#include <string>

#include "flight/q5.h"

namespace lumo {

// The pump-efficiency (*.eff) and cell-background (*.bkg) tables: one row per
// line, pressure in hPa and the correction factor, written "%-8.1lf %1.3lf"
// with CR LF line ends, no header and no row count.

enum class TableKind { PumpEfficiency, CellBackground };

struct TableFileResult {
    enum Status { Ok, CannotOpen, CannotCreate, BadNumber };
    Status status = Ok;
    int line = 0;         // BadNumber: line of the file (from 1) that held it
    std::string lineText; // BadNumber: that line, without its line end

    bool ok() const { return status == Ok; }
};

// Writes rows 0 .. count-1 (count is capped at the 64 rows a table holds).
// An existing file is replaced only once the new one is complete.
TableFileResult writeCorrectionTable(const std::string& path, const double* p, const double* val,
                                     std::uint8_t count);

// Reads a table file into the arrays. Lines end at LF, CR LF or CR and are
// taken up to 255 characters (the rest of a longer line is read as a line of
// its own). They are split into fields at white space, a field in double
// quotes keeping its spaces; lines with exactly two fields are rows, the
// others are skipped. Reading stops at 64 rows. Numbers are read with "." or
// "," as the decimal separator.
//
// CannotOpen leaves the arrays and count unchanged. Otherwise all 64 rows are
// cleared first; a field that is not a number stops the read with BadNumber
// and leaves the table empty (count 0).
TableFileResult readCorrectionTable(const std::string& path, double (&p)[MaxTableRows],
                                    double (&val)[MaxTableRows], std::uint8_t& count);

// The message the user sees for a failed load or save of a table of `kind`
// (the path fills the cannot-open message); empty for Ok.
std::string tableFileMessage(TableKind kind, const TableFileResult& result, const std::string& path);

} // namespace lumo
