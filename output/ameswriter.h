#pragma once

#include "archivemeta.h"
#include "archiveprofile.h"

namespace lumo {

class Q5;

// The NASA Ames file (FFI 2160, as the NDACC takes ozonesonde profiles) of
// one ozonesonde's ascent, named BASE.SERIAL.bHH (HH the launch hour, UTC).
// Printable ASCII, lines of at most 132 characters, CR LF.
ArchiveText amesFile(const Q5& q, const ArchiveSonde& sonde, const ArchiveMeta& meta);

std::string amesFileName(const ArchiveSonde& sonde, const ArchiveMeta& meta);

} // namespace lumo
