#include <cstdio>
#include <cstring>
#include <new>

#include "datetime.h"
#include "packetdecoder.h"
#include "q5.h"
#include "rawline.h"
#include "rawlinereader.h"

namespace lumo {

namespace {

// Why a read ended early; internal only, the caller sees success or failure.
enum ReadStatus : unsigned {
    ReadOk = 0,
    ReadCannotOpen = 1,
    ReadOutOfMemory = 2,
    ReadBadDateTime = 4,
    ReadPacketTooLong = 8,
};

class FileCloser {
public:
    explicit FileCloser(std::FILE* f) : f_(f) {}
    ~FileCloser()
    {
        if (f_)
            std::fclose(f_);
    }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    std::FILE* f_;
};

} // namespace

bool Q5::ReadRaw(const std::string& path)
{
    Reset();
    o3Count = 0;
    unsigned status = ReadOk;

    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    FileCloser closer(file);
    RawLineReader reader(file);

    RecordList<RawRecord>* current = &sfcRecs;
    // Lines repeating the time of the line before are dropped; "now" can never
    // collide with a logged time in practice.
    double refTime = nowDateTime();
    RawDayCache dayCache;
    std::uint8_t bytes[MaxPacketBytes] = {};

    std::string_view line;
    bool firstLine = true;
    bool anyLineRead = false;
    while (status == ReadOk && reader.next(line)) {
        // A file saved by a Windows editor as UTF-8 starts with a byte-order mark.
        if (firstLine && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        firstLine = false;
        // A line is text up to its first NUL; one that starts with NUL is empty.
        if (!line.empty() && line[0] == '\0')
            continue;
        if (const void* nul = std::memchr(line.data(), '\0', line.size()))
            line = line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));

        double time = 0;
        std::string_view packet;
        if (!parseRawLine(line, time, packet, &dayCache)) {
            // A logger that stopped in the middle of its last line leaves it
            // without a line end: that line is dropped, the flight stands. A
            // file of nothing but such a line is no telemetry file.
            if (!reader.lastLineCut() || !anyLineRead)
                status = ReadBadDateTime;
            break;
        }
        anyLineRead = true;
        const bool duplicate = time == refTime;
        if (!duplicate)
            refTime = time;

        const std::size_t size = packet.size() / 2;
        if (size > MaxPacketBytes) {
            status = ReadPacketTooLong;
            break;
        }
        if (size < 2) {
            current = &fltRecs; // the separator line; it stays the flight list
            continue;
        }
        if (duplicate)
            continue;

        // `bytes` is all zero here: each line clears what it wrote.
        hexToBytes(packet, bytes);
        if (bytes[1] == TypePtuExt)
            hasPtuExt = 1;
        if (bytes[1] == TypeGpsVel)
            hasGpsVel = 1;

        // Decoded in place at the end of the list; a dropped packet gives its
        // slot back to the next one.
        RawRecord* rec = nullptr;
        try {
            rec = current->append();
        } catch (const std::bad_alloc&) {
            status = ReadOutOfMemory;
            break;
        }
        rec->time = time;
        const bool decoded = decodePacket(bytes, size, *rec);
        std::memset(bytes, 0, size);
        if (!decoded) {
            current->remove(rec);
            continue;
        }
        if (rec->isOzone() && rec->data.o3.o3Num > o3Count)
            o3Count = rec->data.o3.o3Num;
    }
    if (reader.failed())
        status = ReadCannotOpen; // e.g. a directory, which opens but cannot be read

    if (status != ReadOk)
        Reset();
    return status == ReadOk;
}

} // namespace lumo
