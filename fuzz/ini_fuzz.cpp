// The profile-file unit on arbitrary file content: every read must be safe,
// and a value written into any file must read back as written.
#include <cstdint>
#include <string>

#include "flight/ini.h"
#include "fuzzsupport.h"

namespace {

// Section and key names the program reads, and a few odd ones.
constexpr const char* Names[][2] = {
    {"station", "name"}, {"station", "lat"}, {"bkg_corr", "n"}, {"bkg_corr", "00"},
    {"ozonesonde#1", "sn"}, {"pref", "lDetVal"}, {"o3", "residualTable"}, {"", ""}, {"[", "="}, {" ", ";"},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const fuzz::ScratchFile file("ini", data, size);

    for (const auto& n : Names) {
        const std::string text = IniReadText(n[0], n[1], "def", file.path());
        if (text.find('\n') != std::string::npos || text.find('\r') != std::string::npos)
            fuzz::fail("a value spans lines:", text);
        char small[8];
        const std::size_t stored = IniReadText(n[0], n[1], "default", small, file.path());
        if (stored >= sizeof small || small[stored] != '\0')
            fuzz::fail("buffer value not terminated");
        IniReadInt(n[0], n[1], -1, file.path());
        // Overflowing numbers read as infinite, as atof has them; the callers judge the values.
        IniReadNumber(n[0], n[1], 0.0, file.path());
    }

    // The first line of the input, cut at its first "/", names a section and
    // key of its own.
    const std::string head(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
    const std::string first = head.substr(0, head.find_first_of("\r\n"));
    const std::size_t slash = first.find('/');
    if (slash != std::string::npos)
        IniReadText(first.substr(0, slash), first.substr(slash + 1), "", file.path());

    if (!IniWriteText("fuzz", "key", "value 42", file.path()))
        fuzz::fail("cannot write the profile file");
    if (IniReadText("fuzz", "key", "", file.path()) != "value 42")
        fuzz::fail("written value does not read back:", IniReadText("fuzz", "key", "", file.path()));
    if (!IniWriteNumber("Fuzz", "Number", "%1.2f", 2.5f, file.path()))
        fuzz::fail("cannot write a number");
    if (IniReadNumber("fuzz", "number", 0.0, file.path()) != 2.5)
        fuzz::fail("written number does not read back");
    return 0;
}
