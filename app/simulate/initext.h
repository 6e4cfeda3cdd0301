#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "correctiontables.h"
#include "numberformat.h"

namespace lumo::sim {

// A flight configuration file built in memory: sections, keys, CR LF.
class IniText {
public:
    void section(const std::string& name) { text_ += (text_.empty() ? "[" : "\r\n[") + name + "]\r\n"; }
    void text(const std::string& key, const std::string& value) { text_ += key + "=" + value + "\r\n"; }
    void comment(const std::string& line) { text_ += "; " + line + "\r\n"; }
    void number(const std::string& key, double value, int decimals) { text(key, formatFixed(value, decimals)); }
    void table(const std::string& name, const std::string& file, const std::vector<TableRow>& rows)
    {
        section(name);
        text("file", file);
        text("n", std::to_string(rows.size()));
        for (std::size_t r = 0; r < rows.size(); ++r) {
            char key[16];
            std::snprintf(key, sizeof key, "%02d", static_cast<int>(r));
            text(key, formatFixed(rows[r].p, 1) + "," + formatFixed(rows[r].factor, 3));
        }
    }
    const std::string& str() const { return text_; }

private:
    std::string text_;
};

} // namespace lumo::sim
