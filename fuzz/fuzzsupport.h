#pragma once

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace lumo::fuzz {

// The readers take paths, so each input is written to a scratch file of this
// process (libFuzzer may run several processes side by side with -jobs).
class ScratchFile {
public:
    ScratchFile(std::string_view tag, const std::uint8_t* data, std::size_t size)
        : path_((std::filesystem::temp_directory_path()
                    / ("lumo-fuzz-" + std::to_string(getpid()) + "-" + std::string(tag)))
                    .string())
    {
        write(data, size);
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size) const
    {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (!f)
            std::abort();
        if (size > 0 && std::fwrite(data, 1, size, f) != size)
            std::abort();
        std::fclose(f);
    }

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// A broken invariant is a finding: report it and stop, so libFuzzer keeps the input.
[[noreturn]] inline void fail(const char* what, const std::string& detail = {})
{
    std::fprintf(stderr, "lumo fuzz finding: %s %s\n", what, detail.c_str());
    std::abort();
}

inline void requireFinite(double value, const char* what)
{
    if (!std::isfinite(value))
        fail("not a finite number:", what);
}

// Output text must never carry a printf rendering of NaN or infinity.
inline void requireNoNanInf(std::string_view text, const char* what)
{
    for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
        char c[3];
        for (int k = 0; k < 3; ++k)
            c[k] = static_cast<char>(text[i + k] | 0x20);
        if ((c[0] == 'n' && c[1] == 'a' && c[2] == 'n') || (c[0] == 'i' && c[1] == 'n' && c[2] == 'f')) {
            const std::size_t from = i < 40 ? 0 : i - 40;
            fail(what, std::string(text.substr(from, 80)));
        }
    }
}

// Splits an input into a small fixed-size header of parameters and the rest.
class InputBytes {
public:
    InputBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte()
    {
        if (pos_ >= size_)
            return 0;
        return data_[pos_++];
    }
    const std::uint8_t* rest() const { return data_ + pos_; }
    std::size_t restSize() const { return size_ - pos_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace lumo::fuzz
