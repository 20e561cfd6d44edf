// Activity streams: the records a server keeps about database use, HTTP requests and agents.
#include <memory>

#include "notes/NotesPlatform.h"
#include "notessim/ActivityStream.h"
#include "notessim/Faults.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace notes {

using namespace notessim;

NotesStatus OpenActivityStream(ActivityStreamHandle* stream, const char* server,
                               const char* database, const char* typeFilter,
                               std::uint32_t /*flags*/, const TimeDate* range) {
    SIM_FAULT_POINT("OpenActivityStream");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    if (stream == nullptr) return kStatusInvalidHandle;
    auto opened = std::make_unique<ActivityStreamObject>();
    if (const NotesStatus status =
            FindActivityStream(server == nullptr ? "" : server,
                               database == nullptr ? "" : database, typeFilter, range, *opened);
        status != 0) {
        return status;
    }
    *stream = RegisterHandle(HandleKind::stream, std::move(opened));
    return 0;
}

NotesStatus ScanActivityStream(ActivityStreamHandle stream, ActivityCallback callback,
                               void* context, std::uint32_t /*reserved1*/,
                               std::uint32_t /*reserved2*/) {
    SIM_FAULT_POINT("ScanActivityStream");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    const auto* opened =
        FindHandleAs<ActivityStreamObject>(HandleKind::stream, stream, "ScanActivityStream");
    if (opened == nullptr || callback == nullptr) return kStatusInvalidHandle;
    return ScanActivityFile(*opened, callback, context);
}

void CloseActivityStream(ActivityStreamHandle stream) {
    ReleaseHandle(HandleKind::stream, stream, "CloseActivityStream");
}

}  // namespace notes
