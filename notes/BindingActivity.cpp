// Activity streams. The library's stream is a pointer; the program holds a 32-bit number, so the
// binding keeps the pointers and hands out their numbers.
#include <map>

#include "notes/ActiveCall.h"
#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {
namespace {

namespace api = notesapi;

struct Streams {
    std::map<ActivityStreamHandle, void*> open;
    ActivityStreamHandle next = 1;
};

Streams& OpenStreams() {
    static Streams streams;
    return streams;
}

void* StreamOf(ActivityStreamHandle stream) {
    const auto found = OpenStreams().open.find(stream);
    return found == OpenStreams().open.end() ? nullptr : found->second;
}

using Scan = binding::ActiveCall<ActivityCallback>;

// The primary key has no place in the program's callback and is not used by it.
api::STATUS LNCALLBACK RelayActivityRecord(const char* descName, api::DWORD descIdx,
                                           api::DWORD flags, api::WORD /*primaryKey*/,
                                           const api::TIMEDATE* timeStamp, void* record,
                                           void* /*userData*/) {
    Scan* scan = Scan::Find();
    if (scan == nullptr) return kStatusValueOutOfRange;
    if (scan->failure() != 0) return scan->failure();
    return scan->Keep(scan->callback()(descName, descIdx, flags, nullptr,
                                       reinterpret_cast<const TimeDate*>(timeStamp), record,
                                       scan->context()));
}

}  // namespace

using binding::Api;

NotesStatus OpenActivityStream(ActivityStreamHandle* stream, const char* server,
                               const char* database, const char* typeFilter,
                               std::uint32_t flags, const TimeDate* range) {
    void* opened = nullptr;
    if (const NotesStatus status = binding::Checked(
            "LogOpenActivityStream",
            Api().LogOpenActivityStream(&opened, server, database, typeFilter, flags,
                                        reinterpret_cast<const api::TIMEDATE_PAIR*>(range)));
        status != 0) {
        return status;
    }
    if (opened == nullptr) return kStatusInvalidHandle;
    Streams& streams = OpenStreams();
    const ActivityStreamHandle handle = streams.next++;
    streams.open.emplace(handle, opened);
    *stream = handle;
    return 0;
}

NotesStatus ScanActivityStream(ActivityStreamHandle stream, ActivityCallback callback,
                               void* context, std::uint32_t /*reserved1*/,
                               std::uint32_t /*reserved2*/) {
    void* opened = StreamOf(stream);
    if (opened == nullptr) return kStatusInvalidHandle;
    Scan scan(callback, context);
    const NotesStatus status = binding::Checked(
        "LogEnumActivityStream",
        Api().LogEnumActivityStream(opened, RelayActivityRecord, &scan, nullptr, 0));
    // A library that went on past a failed callback and reported success has not scanned. A
    // stop (413) is the callback's own answer, which the caller reads as it was meant.
    if (status == 0 && !IsStatus(scan.failure(), kStatusStopped)) return scan.failure();
    return status;
}

void CloseActivityStream(ActivityStreamHandle stream) {
    void* opened = StreamOf(stream);
    if (opened == nullptr) return;
    OpenStreams().open.erase(stream);
    binding::Checked("LogCloseActivityStream", Api().LogCloseActivityStream(opened));
}

}  // namespace notes
