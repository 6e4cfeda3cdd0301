// The flight configuration reader on arbitrary file content: it must not
// fail in memory, and whatever it stores must be usable by the processing
// (terminated texts, counts within the tables).
#include <cstdint>
#include <cstring>

#include "flight/q5.h"
#include "flight/readconfig.h"
#include "fuzzsupport.h"

namespace {

void requireTerminated(const char* text, std::size_t capacity, const char* what)
{
    if (std::memchr(text, '\0', capacity) == nullptr)
        lumo::fuzz::fail("text not terminated:", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace lumo;
    const fuzz::ScratchFile file("cfg", data, size);
    Q5 q5;
    const bool ok = q5.ReadConfig(file.path());
    if (ok != (readFlightConfig(q5, file.path()) == 0))
        fuzz::fail("ReadConfig and the status word disagree");

    requireTerminated(q5.stnName, sizeof q5.stnName, "stnName");
    requireTerminated(q5.rsSondeId, sizeof q5.rsSondeId, "rsSondeId");
    requireTerminated(q5.rsProbeId, sizeof q5.rsProbeId, "rsProbeId");
    requireTerminated(q5.bkgFile, sizeof q5.bkgFile, "bkgFile");
    requireTerminated(q5.effFile, sizeof q5.effFile, "effFile");
    if (q5.bkgCount > MaxTableRows || q5.effCount > MaxTableRows)
        fuzz::fail("table count beyond the table");
    for (const O3SondeCfg& s : q5.o3Sonde)
        requireTerminated(s.sn, sizeof s.sn, "sn");
    if (q5.fltMonth < 1 || q5.fltMonth > 12 || q5.fltDay < 1 || q5.fltDay > 31)
        fuzz::fail("impossible flight date");
    const auto& total = q5.reference.totalO3;
    if (total && !(*total >= MinReferenceTotalDu && *total <= MaxReferenceTotalDu))
        fuzz::fail("a reference total ozone outside 100-700 DU is used");
    return 0;
}
