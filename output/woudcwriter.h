#pragma once

#include "archivemeta.h"
#include "archiveprofile.h"

namespace lumo {

class Q5;

// The WOUDC extended CSV file (category OzoneSonde, form 2) of one
// ozonesonde, named YYYYMMDD.ECC.MODEL.SERIAL.AGENCY.csv. UTF-8, CR LF.
ArchiveText woudcFile(const Q5& q, const ArchiveSonde& sonde, const ArchiveMeta& meta);

// The file name alone.
std::string woudcFileName(const Q5& q, const ArchiveSonde& sonde, const ArchiveMeta& meta);

} // namespace lumo
