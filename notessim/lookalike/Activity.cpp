// Activity log streams. The C API's stream is a pointer: each open stream is a small object of
// this library holding the runtime's handle, and only pointers to live ones are accepted.
#include <map>
#include <memory>

#include "notessim/Statuses.h"
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

namespace {

struct OpenStream {
    notes::ActivityStreamHandle handle = 0;
};

std::map<const void*, std::unique_ptr<OpenStream>>& LiveStreams() {
    static std::map<const void*, std::unique_ptr<OpenStream>> streams;
    return streams;
}

const OpenStream* FindStream(const void* stream, const char* function, STATUS& status) {
    const auto found = LiveStreams().find(stream);
    if (found != LiveStreams().end()) return found->second.get();
    status = RefuseMisuse(function, "activity stream pointer is not an open stream",
                          notessim::kStatusInvalidHandle);
    return nullptr;
}

struct ScanCall {
    ACTIVITYSTREAMACTION action;
    void* userData;
};

// The runtime's callback shape in front of the caller's ACTIVITYSTREAMACTION. The runtime
// passes no primary-key index (its records are never checkpointed), so it is 0.
notes::NotesStatus DeliverRecord(const char* typeName, std::uint32_t typeIndex,
                                 std::uint32_t flags, const void* /*primaryKey*/,
                                 const notes::TimeDate* time, const void* record, void* context) {
    const auto* call = static_cast<const ScanCall*>(context);
    const TIMEDATE timeStamp = time == nullptr ? TIMEDATE{} : ToApiTime(*time);
    return call->action(typeName, typeIndex, flags, 0, time == nullptr ? nullptr : &timeStamp,
                        const_cast<void*>(record), call->userData);
}

}  // namespace

STATUS LNPUBLIC LogOpenActivityStream(void** retStream, const char* serverName,
                                      const char* logPath, const char* activityName, DWORD flags,
                                      const TIMEDATE_PAIR* dateRange) try {
    if (retStream == nullptr) return notessim::kStatusInvalidHandle;
    notes::TimeDate range[2] = {};
    if (dateRange != nullptr) {
        range[0] = ToRuntimeTime(dateRange->Lower);
        range[1] = ToRuntimeTime(dateRange->Upper);
    }
    auto opened = std::make_unique<OpenStream>();
    const STATUS status = notes::OpenActivityStream(&opened->handle, serverName, logPath,
                                                    activityName, flags,
                                                    dateRange == nullptr ? nullptr : range);
    if (status != NOERROR) return status;
    *retStream = opened.get();
    LiveStreams().emplace(opened.get(), std::move(opened));
    return NOERROR;
} catch (...) {
    return CaughtException("LogOpenActivityStream");
}

STATUS LNPUBLIC LogEnumActivityStream(void* stream, ACTIVITYSTREAMACTION action, void* userData,
                                      ACTIVITYSTREAMPOSITION* position, DWORD positionSize) try {
    STATUS status = NOERROR;
    const OpenStream* opened = FindStream(stream, "LogEnumActivityStream", status);
    if (opened == nullptr) return status;
    // The runtime cannot resume a stream, so it takes a position only to accept the caller's.
    const bool positionAsDocumented =
        position == nullptr ? positionSize == 0 : positionSize == sizeof(ACTIVITYSTREAMPOSITION);
    if (!positionAsDocumented) {
        return RefuseMisuse("LogEnumActivityStream",
                            "position size " + std::to_string(positionSize) +
                                " does not match the position given",
                            notessim::kStatusUnsupportedArgument);
    }
    ScanCall call{action, userData};
    return notes::ScanActivityStream(opened->handle, action == nullptr ? nullptr : DeliverRecord,
                                     &call, 0, 0);
} catch (...) {
    return CaughtException("LogEnumActivityStream");
}

STATUS LNPUBLIC LogCloseActivityStream(void* stream) try {
    STATUS status = NOERROR;
    const OpenStream* opened = FindStream(stream, "LogCloseActivityStream", status);
    if (opened == nullptr) return status;
    notes::CloseActivityStream(opened->handle);
    LiveStreams().erase(stream);
    return NOERROR;
} catch (...) {
    return CaughtException("LogCloseActivityStream");
}
