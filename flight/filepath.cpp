#include "filepath.h"

namespace lumo {

namespace {

std::size_t nameStart(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// Where the extension of the file name starts, or the path's size.
std::size_t extensionStart(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && dot >= nameStart(path) ? dot : path.size();
}

} // namespace

std::string fileNamePart(std::string_view path) { return std::string(path.substr(nameStart(path))); }

std::string baseNamePart(std::string_view path)
{
    const std::size_t start = nameStart(path);
    return std::string(path.substr(start, extensionStart(path) - start));
}

std::string replaceExtension(std::string_view path, std::string_view extension)
{
    std::string result(path.substr(0, extensionStart(path)));
    result += extension;
    return result;
}

} // namespace lumo
