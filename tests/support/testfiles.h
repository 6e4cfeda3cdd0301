#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace lumo::test {

// A private scratch folder, removed with the object.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "lumo-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

    // Writes the bytes exactly as given (no line-end translation).
    std::string write(std::string_view name, std::string_view content) const
    {
        const std::string p = file(name);
        std::ofstream out(p, std::ios::binary);
        out.write(content.data(), static_cast<std::streamsize>(content.size()));
        return p;
    }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The number of entries in a folder.
inline int filesIn(const std::filesystem::path& dir)
{
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

inline std::string sourcePath(std::string_view rel) { return std::string(LUMO_SOURCE_DIR) + "/" + std::string(rel); }

} // namespace lumo::test
