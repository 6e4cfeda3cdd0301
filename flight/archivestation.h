#pragma once

#include <string>

namespace lumo {

// Station-wide metadata of the archive files, from the preferences section
// "archive". Every key is optional; an empty text is unknown.
struct ArchiveStation {
    std::string agency;              // acronym, e.g. SMNA
    std::string scientificAuthority; // person responsible for the data
    std::string platformType = "STN";
    std::string platformId;          // WOUDC station number
    std::string platformName;
    std::string country;             // ISO 3166 alpha-3
    std::string gawId;
    std::string radiosondeMaker;
    std::string radiosondeModel;
    std::string interfaceMaker;
    std::string interfaceModel;
    std::string groundEquipment;
    // Version of the data: a reprocessed flight is submitted again with a
    // higher one, which the data centres require.
    std::string dataVersion = "1.0";
    std::string ndaccCode; // two-letter NDACC station code; names the NASA Ames files when given
};

// The keys of the section in the order they are written, with the caption
// the Preferences page shows.
struct ArchiveField {
    const char* key;
    const char* caption;
    std::string ArchiveStation::*member;
};

inline constexpr ArchiveField ArchiveFields[] = {
    {"agency", "Agency", &ArchiveStation::agency},
    {"scientificAuthority", "Scientific authority", &ArchiveStation::scientificAuthority},
    {"platformType", "Platform type", &ArchiveStation::platformType},
    {"platformId", "Platform ID", &ArchiveStation::platformId},
    {"platformName", "Platform name", &ArchiveStation::platformName},
    {"country", "Country (ISO alpha-3)", &ArchiveStation::country},
    {"gawId", "GAW ID", &ArchiveStation::gawId},
    {"radiosondeMaker", "Radiosonde maker", &ArchiveStation::radiosondeMaker},
    {"radiosondeModel", "Radiosonde model", &ArchiveStation::radiosondeModel},
    {"interfaceMaker", "Interface maker", &ArchiveStation::interfaceMaker},
    {"interfaceModel", "Interface model", &ArchiveStation::interfaceModel},
    {"groundEquipment", "Ground equipment", &ArchiveStation::groundEquipment},
    {"dataVersion", "Data version", &ArchiveStation::dataVersion},
    {"ndaccCode", "NDACC station code", &ArchiveStation::ndaccCode},
};

} // namespace lumo
