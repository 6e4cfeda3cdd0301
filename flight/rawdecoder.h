#pragma once

#include <cstdint>
#include <string>

#include "rawrecord.h"

namespace lumo {

// Where the records of a raw file go as they are decoded. The decoder asks
// for storage, decodes the packet into it and then says whether the record
// stands: the flight's lists keep it in place, a summary only counts it.
class RawRecordSink {
public:
    virtual ~RawRecordSink() = default;
    // Blank (value-initialised) storage for the next record of the surface
    // list or, with `flight`, of the flight list. May throw std::bad_alloc.
    virtual RawRecord* place(bool flight) = 0;
    // The record last placed was decoded and stands.
    virtual void keep(bool flight, RawRecord& rec) = 0;
    // The record last placed failed to decode; its storage is free again.
    virtual void drop(bool flight, RawRecord& rec) = 0;
};

// Why a decode ended; everything but Ok means the file is not a flight.
enum class RawFileStatus {
    Ok,
    CannotRead,    // cannot be opened or read (e.g. a folder)
    OutOfMemory,
    BadDateTime,   // a line without a readable date and time
    PacketTooLong, // a packet of more than MaxPacketBytes bytes
    NoLines,       // more bytes without a line than the file held when opened (a device)
};

// What the whole file showed besides its records.
struct RawFileFacts {
    std::uint32_t o3Count = 0; // highest ozonesonde chain number met
    bool hasPtuExt = false;    // an extended PTU packet was met, valid or not
    bool hasGpsVel = false;    // a GPS packet with velocities was met, valid or not
};

// Decodes the raw telemetry file line by line into the sink, in file order:
// the lines before the separator line go to the surface list, the rest to
// the flight list; invalid packets and lines repeating the time of the line
// before are dropped. Stops at the first line that cannot be read.
RawFileStatus decodeRawFile(const std::string& path, RawRecordSink& sink, RawFileFacts& facts);

} // namespace lumo
