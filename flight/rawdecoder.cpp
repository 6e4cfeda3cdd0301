#include "rawdecoder.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "datetime.h"
#include "packetdecoder.h"
#include "rawline.h"
#include "rawlinereader.h"

namespace lumo {

namespace {

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

RawFileStatus decodeRawFile(const std::string& path, RawRecordSink& sink, RawFileFacts& facts)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return RawFileStatus::CannotRead;
    FileCloser closer(file);
    // The size when opened bounds the bytes that may pass without a line: a
    // device such as /dev/zero (size 0) yields empty NUL lines for ever.
    long size = 0;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0)
        size = 0;
    std::size_t bytesWithoutLine = 0;
    RawLineReader reader(file);

    RawFileStatus status = RawFileStatus::Ok;
    bool flight = false;
    // Lines repeating the time of the line before are dropped; "now" can never
    // collide with a logged time in practice.
    double refTime = nowDateTime();
    RawDayCache dayCache;
    std::uint8_t bytes[MaxPacketBytes] = {};

    std::string_view line;
    bool firstLine = true;
    bool anyLineRead = false;
    while (status == RawFileStatus::Ok && reader.next(line)) {
        // A file saved by a Windows editor as UTF-8 starts with a byte-order mark.
        if (firstLine && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        firstLine = false;
        // A line is text up to its first NUL; one that starts with NUL is empty.
        if (!line.empty() && line[0] == '\0') {
            bytesWithoutLine += line.size();
            if (bytesWithoutLine > static_cast<std::size_t>(size)) {
                status = RawFileStatus::NoLines;
                break;
            }
            continue;
        }
        bytesWithoutLine = 0;
        if (const void* nul = std::memchr(line.data(), '\0', line.size()))
            line = line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));

        double time = 0;
        std::string_view packet;
        if (!parseRawLine(line, time, packet, &dayCache)) {
            // A logger that stopped in the middle of its last line leaves it
            // without a line end: that line is dropped, the flight stands. A
            // file of nothing but such a line is no telemetry file.
            if (!reader.lastLineCut() || !anyLineRead)
                status = RawFileStatus::BadDateTime;
            break;
        }
        anyLineRead = true;
        const bool duplicate = time == refTime;
        if (!duplicate)
            refTime = time;

        const std::size_t size = packet.size() / 2;
        if (size > MaxPacketBytes) {
            status = RawFileStatus::PacketTooLong;
            break;
        }
        if (size < 2) {
            flight = true; // the separator line; the flight list stays
            continue;
        }
        if (duplicate)
            continue;

        // `bytes` is all zero here: each line clears what it wrote.
        hexToBytes(packet, bytes);
        if (bytes[1] == TypePtuExt)
            facts.hasPtuExt = true;
        if (bytes[1] == TypeGpsVel)
            facts.hasGpsVel = true;

        RawRecord* rec = nullptr;
        try {
            rec = sink.place(flight);
        } catch (const std::bad_alloc&) {
            status = RawFileStatus::OutOfMemory;
            break;
        }
        rec->time = time;
        const bool decoded = decodePacket(bytes, size, *rec);
        std::memset(bytes, 0, size);
        if (!decoded) {
            sink.drop(flight, *rec);
            continue;
        }
        if (rec->isOzone() && rec->data.o3.o3Num > facts.o3Count)
            facts.o3Count = rec->data.o3.o3Num;
        sink.keep(flight, *rec);
    }
    if (status == RawFileStatus::Ok && reader.failed())
        status = RawFileStatus::CannotRead;
    return status;
}

} // namespace lumo
