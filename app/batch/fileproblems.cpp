#include "fileproblems.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

#include "flight/q5.h"

namespace lumo::batch {

namespace fs = std::filesystem;

std::string unreadableReason(const std::string& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return "no such file";
    if (fs::is_directory(status))
        return "it is a folder";
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::strerror(errno);
    std::fclose(f);
    return {};
}

std::string rawFileProblem(Q5& q5, const std::string& path)
{
    const bool readOk = q5.ReadRaw(path);
    return readRawProblem(path, readOk, q5.sfcRecs.size() + q5.fltRecs.size());
}

// Only a failed read asks the file system why: a file that was read was
// readable.
std::string readRawProblem(const std::string& path, bool readOk, std::size_t records)
{
    if (!readOk) {
        const std::string reason = unreadableReason(path);
        return reason.empty() ? path + " is not a raw telemetry file" : path + ": " + reason;
    }
    if (records == 0)
        return path + " holds no records";
    return {};
}

std::string outputFolderProblem(const std::string& dir)
{
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        fs::create_directories(dir, ec);
        if (ec)
            return "cannot create the output folder " + dir + ": " + ec.message();
    }
    // The only sure test of writing is to write.
    const fs::path probe = fs::path(dir) / ".lumo-write-test";
    std::FILE* f = std::fopen(probe.c_str(), "wb");
    if (!f)
        return "cannot write to the output folder " + dir + ": " + std::strerror(errno);
    std::fclose(f);
    fs::remove(probe, ec);
    return {};
}

std::string sharedOutput(const std::vector<std::string>& raws, const std::vector<std::vector<std::string>>& outputs)
{
    std::map<std::string, std::size_t> owner;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (const std::string& file : outputs[i]) {
            std::error_code ec;
            const std::string key = fs::weakly_canonical(file, ec).string();
            const auto [it, fresh] = owner.emplace(ec ? file : key, i);
            if (!fresh && it->second != i)
                return raws[it->second] + " and " + raws[i] + " would both write " + file;
        }
    }
    return {};
}

} // namespace lumo::batch
