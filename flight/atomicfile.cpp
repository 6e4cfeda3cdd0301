#include "atomicfile.h"

#include <cstdint>
#include <random>
#include <string>
#include <system_error>

namespace lumo {

namespace {

// Tries a few names so that a temporary file being written by another
// program at the same moment does not block us. The names are random, so
// temporary files left by killed runs, however many, never use them up.
constexpr int NameAttempts = 100;

// Eight random hexadecimal digits.
std::string randomSuffix()
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string s(8, '0');
    std::uint32_t bits = static_cast<std::uint32_t>(std::random_device{}());
    for (char& c : s) {
        c = Digits[bits & 0xF];
        bits >>= 4;
    }
    return s;
}

} // namespace

AtomicFile::AtomicFile(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::open()
{
    discard();
    const std::filesystem::path folder = target_.parent_path();
    std::string base(1, '.');
    base += target_.filename().string();
    base += ".tmp";
    for (int i = 0; i < NameAttempts; ++i) {
        std::filesystem::path candidate = folder / (base + randomSuffix());
        // "x": exclusive creation; fails rather than reuse a file, or follow
        // a link, that exists already.
        file_ = std::fopen(candidate.string().c_str(), "wbx");
        if (file_) {
            temp_ = std::move(candidate);
            return true;
        }
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec))
            return false; // not a name clash: the folder cannot take the file
    }
    return false;
}

bool AtomicFile::commit()
{
    if (!file_)
        return false;
    const bool written = std::fflush(file_) == 0 && !std::ferror(file_);
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed) {
        discard();
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temp_, target_, ec);
    if (ec) {
        discard();
        return false;
    }
    temp_.clear();
    return true;
}

void AtomicFile::discard()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        std::error_code ec;
        std::filesystem::remove(temp_, ec);
        temp_.clear();
    }
}

bool writeFileAtomically(const std::filesystem::path& target, std::string_view content)
{
    AtomicFile file(target);
    if (!file.open())
        return false;
    if (std::fwrite(content.data(), 1, content.size(), file.file()) != content.size())
        return false;
    return file.commit();
}

} // namespace lumo
