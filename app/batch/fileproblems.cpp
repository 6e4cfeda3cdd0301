#include "fileproblems.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "flight/q5.h"

namespace lumo::batch {

namespace fs = std::filesystem;

std::string notRegularReason(const std::string& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec == std::errc::too_many_symbolic_link_levels)
        return "its links form a loop";
    switch (status.type()) {
    case fs::file_type::regular:
    case fs::file_type::not_found:
    case fs::file_type::none: // not known (e.g. no permission): the read says why
        return {};
    case fs::file_type::directory:
        return "it is a folder";
    case fs::file_type::fifo:
        return "it is a FIFO (named pipe), not a regular file";
    case fs::file_type::socket:
        return "it is a socket, not a regular file";
    case fs::file_type::character:
    case fs::file_type::block:
        return "it is a device, not a regular file";
    default:
        return "it is not a regular file";
    }
}

std::string unsafeInputReason(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(path, ec) ? std::string() : notRegularReason(path);
}

std::string unreadableReason(const std::string& path)
{
    if (std::string reason = notRegularReason(path); !reason.empty())
        return reason;
    std::error_code ec;
    if (!fs::exists(path, ec))
        return "no such file";
    // Opening a FIFO would wait for a writer: only regular files get here.
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::strerror(errno);
    std::fclose(f);
    return {};
}

std::string rawFileProblem(Q5& q5, const std::string& path)
{
    // A FIFO would block the read, a device never end it.
    if (const std::string reason = notRegularReason(path); !reason.empty())
        return path + ": " + reason;
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
    // The only sure test of writing is to write: a new file of a random
    // name, created exclusively and without following links, so that no
    // existing file or planted link is ever touched.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path probe = fs::path(dir) / (".lumo-write-test-" + std::to_string(std::random_device{}()));
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return "cannot write to the output folder " + dir + ": " + std::strerror(errno);
        }
        ::close(fd);
        ::unlink(probe.c_str());
        return {};
    }
    return "cannot write to the output folder " + dir + ": no free name for a test file";
}

std::string outputIsInput(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs)
{
    std::map<std::string, const std::string*> input;
    for (const std::string& file : inputs) {
        std::error_code ec;
        const std::string key = fs::weakly_canonical(file, ec).string();
        input.emplace(ec ? file : key, &file);
    }
    for (const std::string& file : outputs) {
        std::error_code ec;
        const std::string key = fs::weakly_canonical(file, ec).string();
        if (const auto it = input.find(ec ? file : key); it != input.end())
            return "the output " + file + " is the input " + *it->second;
    }
    return {};
}

std::string nameTooLong(const std::vector<std::string>& outputs)
{
    for (const std::string& file : outputs) {
        const fs::path path(file);
        const std::string name = path.filename().string();
        const std::string folder = path.parent_path().empty() ? "." : path.parent_path().string();
        long most = ::pathconf(folder.c_str(), _PC_NAME_MAX);
        if (most <= 0)
            most = 255; // the folder is not made yet: the common limit
        // The atomic writer adds "." and ".tmp" and 8 characters.
        const std::size_t longest = static_cast<std::size_t>(most) - 13;
        if (name.size() > longest)
            return "the output name " + file + " is too long for the file system (" + std::to_string(name.size())
                + " bytes; at most " + std::to_string(longest) + ")";
    }
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
            if (!fresh)
                return it->second == i ? raws[i] + " would write " + file + " twice"
                                       : raws[it->second] + " and " + raws[i] + " would both write " + file;
        }
    }
    return {};
}

} // namespace lumo::batch
