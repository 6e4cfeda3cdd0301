#include "correctiontable.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string_view>
#include <vector>

#include "flight/atomicfile.h"
#include "exportstream.h"

namespace lumo {

namespace {

constexpr std::size_t MaxLineChars = 255;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool isSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Splits at runs of white space and control characters; a field in double
// quotes keeps its spaces ("" inside it stands for one quote).
std::vector<std::string> splitFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && isSpace(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::string field;
        if (line[i] == '"') {
            for (++i; i < line.size(); ++i) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    field += line[i];
                }
            }
        } else {
            const std::size_t start = i;
            while (i < line.size() && !isSpace(line[i]))
                ++i;
            field.assign(line.substr(start, i - start));
        }
        fields.push_back(std::move(field));
    }
    return fields;
}

// The whole field must be one finite number. A single "," is taken as the
// decimal separator so that tables typed under a decimal-comma locale load.
bool parseNumber(std::string field, double& value)
{
    if (field.find('.') == std::string::npos) {
        const std::size_t comma = field.find(',');
        if (comma != std::string::npos && field.find(',', comma + 1) == std::string::npos)
            field[comma] = '.';
    }
    const char* first = field.data();
    const char* last = first + field.size();
    const bool plus = first != last && *first == '+';
    if (plus)
        ++first;
    if (first == last || (plus && *first == '-'))
        return false;
    const auto r = std::from_chars(first, last, value);
    return r.ec == std::errc() && r.ptr == last && std::isfinite(value);
}

// One line of at most 255 characters without its line end; false at the end
// of the file. `endedLine` tells whether the line end was reached.
bool readLine(std::FILE* f, std::string& line, bool& endedLine)
{
    line.clear();
    endedLine = false;
    int c = 0;
    while (line.size() < MaxLineChars && (c = std::fgetc(f)) != EOF) {
        if (c == '\n') {
            endedLine = true;
            return true;
        }
        // A lone CR ends a line too (old Mac editors); CR LF is one line end.
        if (c == '\r') {
            const int next = std::fgetc(f);
            if (next != '\n' && next != EOF)
                std::ungetc(next, f);
            endedLine = true;
            return true;
        }
        line += static_cast<char>(c);
    }
    return !line.empty() || c != EOF;
}

} // namespace

TableFileResult writeCorrectionTable(const std::string& path, const double* p, const double* val,
                                     std::uint8_t count)
{
    AtomicFile file(path);
    if (!file.open())
        return {TableFileResult::CannotCreate, 0, {}};
    const int rows = count < MaxTableRows ? count : MaxTableRows;
    bool written = false;
    {
        ExportStream out(file.file());
        for (int r = 0; r < rows; ++r)
            out.fixedLeft(p[r], 8, 1).text(" ").fixed(val[r], 1, 3).endLine();
        written = out.flush();
    }
    if (!written || !file.commit())
        return {TableFileResult::CannotCreate, 0, {}};
    return {};
}

TableFileResult readCorrectionTable(const std::string& path, double (&p)[MaxTableRows],
                                    double (&val)[MaxTableRows], std::uint8_t& count)
{
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return {TableFileResult::CannotOpen, 0, {}};
    // A directory opens but cannot be read: as unopenable, the table stays.
    if (std::fgetc(f.get()) == EOF && std::ferror(f.get()))
        return {TableFileResult::CannotOpen, 0, {}};
    std::rewind(f.get());

    for (int r = 0; r < MaxTableRows; ++r)
        p[r] = val[r] = 0;
    count = 0;

    int rows = 0;
    int lineNo = 1;
    std::string line;
    bool endedLine = false;
    while (rows < MaxTableRows && readLine(f.get(), line, endedLine)) {
        const int thisLine = lineNo;
        if (endedLine)
            ++lineNo;
        const std::vector<std::string> fields = splitFields(line);
        if (fields.size() != 2)
            continue;
        double pressure = 0, factor = 0;
        if (!parseNumber(fields[0], pressure) || !parseNumber(fields[1], factor)) {
            // Rows read so far are dropped: the table is either the whole
            // file's or empty, never a mix around a bad line.
            for (int r = 0; r < rows; ++r)
                p[r] = val[r] = 0;
            return {TableFileResult::BadNumber, thisLine, line};
        }
        p[rows] = pressure;
        val[rows] = factor;
        ++rows;
    }
    count = static_cast<std::uint8_t>(rows);
    return {};
}

std::string tableFileMessage(TableKind kind, const TableFileResult& result, const std::string& path)
{
    const bool eff = kind == TableKind::PumpEfficiency;
    switch (result.status) {
    case TableFileResult::Ok:
        return {};
    case TableFileResult::CannotOpen:
        return (eff ? "Unable to open pump efficiency file:\n" : "Unable to open cell background correction file:\n") +
               path;
    case TableFileResult::CannotCreate:
        return "Unable to save data to specified file.";
    case TableFileResult::BadNumber:
        return eff ? "Error loading pump efficiency data." : "Error loading cell background correction data.";
    }
    return {};
}

} // namespace lumo
