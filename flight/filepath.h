#pragma once

#include <string>
#include <string_view>

namespace lumo {

// Paths as text. Both "/" and "\" separate folders, so a path written on
// either kind of system splits the same way; the file name is what follows
// the last separator, its extension what follows the last "." in it.

// The file-name part ("dir/F0612.raw" gives "F0612.raw").
std::string fileNamePart(std::string_view path);

// The file-name part without its extension ("dir/F0612.raw" gives "F0612").
std::string baseNamePart(std::string_view path);

// The path with the extension of its file name replaced (`extension` starts
// with "."); a file name without a "." gets the extension appended.
std::string replaceExtension(std::string_view path, std::string_view extension);

} // namespace lumo
