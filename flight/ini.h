#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumo {

// Profile files (INI): "[section]" lines open sections, "key=value" lines
// give values. Conventions, as the Windows profile functions have them:
// - section and key names match without regard to case;
// - the first matching section and, within it, the first matching key win;
// - blanks around names and values are trimmed, and a value wrapped in a
//   matching pair of double or single quotes is unquoted;
// - lines beginning with ";" are comments; there are no inline comments;
// - a missing or unreadable file reads as an empty one.
// The functions taking a file name read the file afresh on every call.

// A profile file read once and indexed, for a reader that looks up many keys
// (a flight configuration reads over a hundred). Only the first section of
// each name is kept, and the first key of each name within it.
class IniFile {
public:
    explicit IniFile(const std::string& path);

    // The key's value, or null when the section or the key is missing.
    const std::string* find(std::string_view section, std::string_view key) const;

private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> sections_;
};

// The key's value, or `def` when the key is missing (a present, empty key
// gives the empty text).
std::string IniReadText(std::string_view section, std::string_view key, std::string_view def, const IniFile& ini);
std::string IniReadText(std::string_view section, std::string_view key, std::string_view def,
                        const std::string& file);

// As above, copied into a zero-terminated buffer of `size` characters (at most
// size-1 characters kept). Returns the number of characters stored.
std::size_t IniReadText(std::string_view section, std::string_view key, std::string_view def, char* buffer,
                        std::size_t size, const IniFile& ini);
std::size_t IniReadText(std::string_view section, std::string_view key, std::string_view def, char* buffer,
                        std::size_t size, const std::string& file);

template <std::size_t N, typename Source>
std::size_t IniReadText(std::string_view section, std::string_view key, std::string_view def, char (&buffer)[N],
                        const Source& source)
{
    return IniReadText(section, key, def, buffer, N, source);
}

// The leading decimal integer of the value; `def` when the key is missing or
// empty, 0 when the value does not begin with an integer ("yes" reads as 0).
int IniReadInt(std::string_view section, std::string_view key, int def, const IniFile& ini);
int IniReadInt(std::string_view section, std::string_view key, int def, const std::string& file);

// The value read as text of at most 131 characters: an empty text gives
// `def`, otherwise its leading decimal number ("." as decimal point; text
// that is not a number gives 0).
double IniReadNumber(std::string_view section, std::string_view key, double def, const IniFile& ini);
double IniReadNumber(std::string_view section, std::string_view key, double def, const std::string& file);

// Writes the value in place of the key's current one; a missing key is
// appended to its section, a missing section to the file, and a missing file
// is created. Every other line is kept as it was. The file is written to a
// temporary file beside it and renamed into place. False when it cannot be
// written.
bool IniWriteText(std::string_view section, std::string_view key, std::string_view text,
                  const std::string& file);

// Formats the value with a printf format ("%1.2f") into at most 131
// characters, always with "." as decimal point, and writes it as text.
bool IniWriteNumber(std::string_view section, std::string_view key, const char* format, float value,
                    const std::string& file);

} // namespace lumo
