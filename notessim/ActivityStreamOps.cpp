// Activity streams: the records a server keeps about database use, HTTP requests and agents.
// The C API's stream is a pointer: the runtime hands out its stream object's address, and only
// addresses of open streams are accepted.
#include <map>
#include <memory>

#include "notessim/ActivityStream.h"
#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

using namespace notessim;

namespace {

// The handle of each open stream, by the address handed out for it.
std::map<const void*, DHANDLE>& LiveStreams() {
    static std::map<const void*, DHANDLE> streams;
    return streams;
}

const DHANDLE* FindStream(const void* stream, const char* function, STATUS& status) {
    const auto found = LiveStreams().find(stream);
    if (found != LiveStreams().end()) return &found->second;
    status = RefuseMisuse(function, "activity stream pointer is not an open stream",
                          kStatusInvalidHandle);
    return nullptr;
}

}  // namespace

STATUS LNPUBLIC LogOpenActivityStream(void** retStream, const char* serverName, const char* logPath,
                                      const char* activityName, DWORD /*flags*/,
                                      const notesapi::TIMEDATE_PAIR* dateRange) try {
    if (retStream == nullptr) return kStatusInvalidHandle;
    SIM_FAULT_POINT("OpenActivityStream");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    auto opened = std::make_unique<ActivityStreamObject>();
    if (const STATUS status =
            FindActivityStream(serverName == nullptr ? "" : serverName,
                               logPath == nullptr ? "" : logPath, activityName, dateRange, *opened);
        status != 0) {
        return status;
    }
    void* address = opened.get();
    LiveStreams().emplace(address, RegisterHandle(HandleKind::stream, std::move(opened)));
    *retStream = address;
    return 0;
} catch (...) {
    return CaughtException("LogOpenActivityStream");
}

STATUS LNPUBLIC LogEnumActivityStream(void* stream, notesapi::ACTIVITYSTREAMACTION action,
                                      void* userData, notesapi::ACTIVITYSTREAMPOSITION* position,
                                      DWORD positionSize) try {
    STATUS status = 0;
    const DHANDLE* handle = FindStream(stream, "LogEnumActivityStream", status);
    if (handle == nullptr) return status;
    // The runtime cannot resume a stream, so it takes a position only to accept the caller's.
    const bool positionAsDocumented =
        position == nullptr ? positionSize == 0
                            : positionSize == sizeof(notesapi::ACTIVITYSTREAMPOSITION);
    if (!positionAsDocumented) {
        return RefuseMisuse(
            "LogEnumActivityStream",
            "position size " + std::to_string(positionSize) + " does not match the position given",
            kStatusUnsupportedArgument);
    }
    SIM_FAULT_POINT("ScanActivityStream");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    const auto* opened =
        FindHandleAs<ActivityStreamObject>(HandleKind::stream, *handle, "ScanActivityStream");
    if (opened == nullptr || action == nullptr) return kStatusInvalidHandle;
    return ScanActivityFile(*opened, action, userData);
} catch (...) {
    return CaughtException("LogEnumActivityStream");
}

STATUS LNPUBLIC LogCloseActivityStream(void* stream) try {
    STATUS status = 0;
    const DHANDLE* handle = FindStream(stream, "LogCloseActivityStream", status);
    if (handle == nullptr) return status;
    ReleaseHandle(HandleKind::stream, *handle, "CloseActivityStream");
    LiveStreams().erase(stream);
    return 0;
} catch (...) {
    return CaughtException("LogCloseActivityStream");
}
