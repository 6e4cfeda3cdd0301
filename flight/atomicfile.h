#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace lumo {

// Writes a file so that the target is either left as it was or replaced by
// the complete new content: the data go to a temporary file in the target's
// folder (so the final rename stays on one file system) and are renamed over
// the target only on commit. Whatever is not committed is removed, so a
// failure leaves no temporary file behind.
class AtomicFile {
public:
    explicit AtomicFile(std::filesystem::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file (".NAME.tmp" and 8 random hexadecimal
    // digits, created exclusively: never an existing file or link), opened
    // for binary writing; false when the folder does not exist or is not
    // writable.
    bool open();
    std::FILE* file() const { return file_; }

    // Flushes and closes the temporary file and renames it into place. On any
    // failure the temporary file is removed and the target is untouched.
    bool commit();
    // Closes and removes the temporary file; the target is untouched.
    void discard();

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& tempPath() const { return temp_; }

private:
    std::filesystem::path target_;
    std::filesystem::path temp_;
    std::FILE* file_ = nullptr;
};

// The whole content written through an AtomicFile; false when the file
// cannot be created, written or put in place (the target is then untouched).
bool writeFileAtomically(const std::filesystem::path& target, std::string_view content);

} // namespace lumo
