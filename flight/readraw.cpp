#include "q5.h"
#include "rawdecoder.h"

namespace lumo {

namespace {

// Each record is decoded straight into its list's storage, in file order;
// a dropped packet gives its slot back to the next one.
class ListSink final : public RawRecordSink {
public:
    explicit ListSink(Q5& q) : q_(q) {}
    RawRecord* place(bool flight) override { return list(flight).append(); }
    void keep(bool, RawRecord&) override {}
    void drop(bool flight, RawRecord& rec) override { list(flight).remove(&rec); }

private:
    RecordList<RawRecord>& list(bool flight) { return flight ? q_.fltRecs : q_.sfcRecs; }
    Q5& q_;
};

} // namespace

bool Q5::ReadRaw(const std::string& path)
{
    Reset();
    ListSink sink(*this);
    RawFileFacts facts;
    const RawFileStatus status = decodeRawFile(path, sink, facts);
    o3Count = facts.o3Count;
    hasPtuExt = facts.hasPtuExt ? 1 : 0;
    hasGpsVel = facts.hasGpsVel ? 1 : 0;
    if (status != RawFileStatus::Ok)
        Reset();
    return status == RawFileStatus::Ok;
}

} // namespace lumo
