#pragma once

#include "archivemeta.h"
#include "archiveprofile.h"

namespace lumo {

class Q5;

// The NASA Ames file (FFI 2160, as the NDACC takes ozonesonde profiles) of
// one ozonesonde's ascent: the NDACC catalogue line, then the header with the
// auxiliary variables of the NDACC format 2.0 in their order, then the
// records. Every header and data item splits at blanks. Printable ASCII,
// lines of at most 132 characters, CR LF.
// Named TTYYMMDD.bHH (NDACC: station code, date, launch hour UTC; a second
// ozonesonde adds .SERIAL before .bHH) when the station's ndaccCode is two
// letters, else BASE.SERIAL.bHH.
ArchiveText amesFile(const Q5& q, const ArchiveSonde& sonde, const ArchiveMeta& meta);

std::string amesFileName(const ArchiveSonde& sonde, const ArchiveMeta& meta);

} // namespace lumo
