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
};

} // namespace lumo
