#include "notessim/lookalike/Bridge.h"

#include <new>

#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace lookalike {

bool FitsWord(std::uint64_t value, const char* function, const char* argument, STATUS& status) {
    if (value <= 0xFFFF) return true;
    status = notessim::kStatusUnsupportedArgument;
    notessim::SetStatusDetail(status, std::string(function) + ": " + argument + " " +
                                          std::to_string(value) +
                                          " does not fit the runtime's 16 bits");
    return false;
}

STATUS RefuseMisuse(const char* function, const std::string& what, STATUS status) {
    notessim::RecordMisuse(std::string(function) + ": " + what);
    return status;
}

bool ExtendedDelivery() { return notessim::EnvironmentValue("SimExtendedDelivery") == "1"; }

STATUS CaughtException(const char* function) noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        // Running out of memory is a condition the real library reports, not a misuse.
    } catch (...) {
        try {
            notessim::RecordMisuse(std::string(function) + ": an exception left the runtime");
        } catch (...) {
        }
    }
    return notessim::kStatusOutOfMemory;
}

STATUS Release(const char* function, notessim::HandleKind kind, std::uint32_t handle,
               void (*release)(std::uint32_t)) {
    if (notessim::LiveHandle(kind, handle) == nullptr) {
        return RefuseMisuse(function,
                            std::string(notessim::HandleKindName(kind)) + " handle " +
                                std::to_string(handle) + " is not open",
                            notessim::kStatusInvalidHandle);
    }
    release(handle);
    return NOERROR;
}

}  // namespace lookalike
