// lumo-batch table FILE: reads a pump-efficiency (*.eff) or cell-background
// (*.bkg) correction table the way the desktop program loads it and prints
// {"ok":B,"error":S|null,"p":[...],"val":[...]}, so a table can be checked
// before a flight is processed with it. Exit status 0 when it loads, else 1.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "fileproblems.h"
#include "jsonout.h"
#include "output/correctiontable.h"

namespace lumo::batch {

namespace {

// The messages name the table by its kind; a file that is not a *.bkg is
// taken as a pump-efficiency table.
TableKind kindOf(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".bkg" ? TableKind::CellBackground : TableKind::PumpEfficiency;
}

Json tableJson(const std::string& path)
{
    double p[MaxTableRows] = {};
    double val[MaxTableRows] = {};
    std::uint8_t count = 0;
    if (const std::string reason = unsafeInputReason(path); !reason.empty()) {
        Json out = Json::object();
        out["ok"] = false;
        out["error"] = path + ": " + reason;
        out["p"] = Json::array();
        out["val"] = Json::array();
        return out;
    }
    const TableFileResult result = readCorrectionTable(path, p, val, count);

    Json out = Json::object();
    out["ok"] = result.ok();
    if (result.ok()) {
        out["error"] = nullptr;
    } else {
        std::string error = tableFileMessage(kindOf(path), result, path);
        if (result.status == TableFileResult::BadNumber)
            error += " Line " + std::to_string(result.line) + ": " + result.lineText;
        out["error"] = error;
    }
    Json ps = Json::array();
    Json vals = Json::array();
    for (int r = 0; r < count; ++r) {
        ps.push_back(p[r]);
        vals.push_back(val[r]);
    }
    out["p"] = std::move(ps);
    out["val"] = std::move(vals);
    return out;
}

} // namespace

void addTableCommand(CLI::App& app, int& exitCode)
{
    CLI::App* cmd = app.add_subcommand("table", "Read a correction table file (*.eff, *.bkg) and print it as JSON");
    auto path = std::make_shared<std::string>();
    cmd->add_option("FILE", *path, "Table file")->required();
    cmd->callback([path, &exitCode] {
        const Json out = tableJson(*path);
        const bool written = writeJsonLine(stdout, out);
        exitCode = out["ok"].get<bool>() && written ? ExitOk : ExitFailed;
    });
}

} // namespace lumo::batch
