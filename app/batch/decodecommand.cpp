#include <cstdio>
#include <memory>
#include <string>

#include <CLI/CLI.hpp>

#include "commands.h"
#include "fileproblems.h"
#include "flight/q5.h"
#include "flight/rawdecoder.h"
#include "jsonout.h"

namespace lumo::batch {

namespace {

struct DecodeOptions {
    std::string rawFile;
    bool summaryOnly = false;
};

std::string hexText(const std::uint8_t* bytes, std::size_t n)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    s.reserve(2 * n);
    for (std::size_t i = 0; i < n; ++i) {
        s += digits[bytes[i] >> 4];
        s += digits[bytes[i] & 0xF];
    }
    return s;
}

// One record as {"list","type","kind","time", ...payload}; the payload
// members follow the packet type.
Json recordJson(const char* list, const RawRecord& r)
{
    Json j;
    j["list"] = list;
    j["type"] = r.type;
    j["kind"] = r.kind;
    j["time"] = r.time;
    if (r.isPtu()) {
        const PtuData& d = r.data.ptu;
        j["frame"] = d.frame;
        j["p"] = d.p;
        j["t"] = d.t;
        j["u"] = d.u;
        j["vbat"] = d.vbat;
        j["tint"] = d.tint;
        j["tpr"] = d.tpr;
        j["tu"] = d.tu;
    } else if (r.isGps()) {
        const GpsData& d = r.data.gps;
        j["lat"] = d.lat;
        j["lon"] = d.lon;
        j["alt"] = d.alt;
        j["ewv"] = d.ewv;
        j["nsv"] = d.nsv;
        j["udv"] = d.udv;
        j["nSats"] = d.nSats;
        j["gpsHour"] = d.gpsHour;
        j["gpsMin"] = d.gpsMin;
        j["gpsSec"] = d.gpsSec;
    } else if (r.isOzone()) {
        const O3Data& d = r.data.o3;
        j["o3Num"] = d.o3Num;
        j["ic"] = d.ic;
        j["tp"] = d.tp;
        j["ip"] = d.ip;
        j["o3Bat"] = d.o3Bat;
    } else {
        j["bytes"] = hexText(r.data.bytes, r.packetSize);
    }
    return j;
}

// What the summary line reports of a file.
struct DecodeSummary {
    RawFileFacts facts;
    std::size_t sfc = 0, flt = 0;
};

// A summary needs no record kept: each one is decoded into the one slot of
// a scratch list, counted and given back, so the summary of a file of any
// size takes the decoder's buffer and no more.
class CountingSink final : public RawRecordSink {
public:
    explicit CountingSink(DecodeSummary& summary) : summary_(summary) {}
    RawRecord* place(bool) override { return scratch_.append(); }
    void keep(bool flight, RawRecord& rec) override
    {
        ++(flight ? summary_.flt : summary_.sfc);
        scratch_.remove(&rec);
    }
    void drop(bool, RawRecord& rec) override { scratch_.remove(&rec); }

private:
    DecodeSummary& summary_;
    RecordList<RawRecord> scratch_;
};

// The records go through the decoder as the import reads them; the problem
// text is the import's.
std::string summarize(const std::string& path, DecodeSummary& summary)
{
    if (const std::string reason = notRegularReason(path); !reason.empty())
        return path + ": " + reason;
    CountingSink sink(summary);
    const bool readOk = decodeRawFile(path, sink, summary.facts) == RawFileStatus::Ok;
    return readRawProblem(path, readOk, summary.sfc + summary.flt);
}

int runDecode(const DecodeOptions& opt)
{
    DecodeSummary s;
    std::unique_ptr<Q5> q5;
    if (!opt.summaryOnly)
        q5 = std::make_unique<Q5>();
    const std::string problem = q5 ? rawFileProblem(*q5, opt.rawFile) : summarize(opt.rawFile, s);
    if (!problem.empty()) {
        std::fprintf(stderr, "Error loading flight data, load aborted: %s.\n", problem.c_str());
        return ExitFailed;
    }
    std::FILE* out = stdout;
    if (q5) {
        for (const RawRecord& r : q5->sfcRecs)
            writeJsonLine(out, recordJson("sfc", r));
        for (const RawRecord& r : q5->fltRecs)
            writeJsonLine(out, recordJson("flt", r));
        s.facts = RawFileFacts{q5->o3Count, q5->hasPtuExt != 0, q5->hasGpsVel != 0};
        s.sfc = q5->sfcRecs.size();
        s.flt = q5->fltRecs.size();
    }
    Json counts;
    counts["o3Count"] = s.facts.o3Count;
    counts["hasPtuExt"] = s.facts.hasPtuExt;
    counts["hasGpsVel"] = s.facts.hasGpsVel;
    counts["sfc"] = s.sfc;
    counts["flt"] = s.flt;
    Json summary;
    summary["summary"] = counts;
    writeJsonLine(out, summary);
    if (std::fflush(out) != 0 || std::ferror(out)) {
        std::fputs("Error writing the decoded records.\n", stderr);
        return ExitFailed;
    }
    return ExitOk;
}

} // namespace

void addDecodeCommand(CLI::App& app, int& exitCode)
{
    auto opt = std::make_shared<DecodeOptions>();
    CLI::App* cmd = app.add_subcommand("decode", "Decode a raw telemetry file into one JSON object per record");
    cmd->add_option("RAWFILE", opt->rawFile, "raw telemetry file (*.raw)")->required();
    cmd->add_flag("--summary", opt->summaryOnly, "print only the summary line");
    cmd->callback([opt, &exitCode] { exitCode = runDecode(*opt); });
}

} // namespace lumo::batch
