#include "notessim/ApiEdge.h"

#include <new>

#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace notessim {

bool FitsWord(std::uint64_t value, const char* function, const char* argument, STATUS& status) {
    if (value <= 0xFFFF) return true;
    status = Diagnose(kStatusUnsupportedArgument,
                      std::string(function) + ": " + argument + " " + std::to_string(value) +
                          " does not fit the runtime's 16 bits");
    return false;
}

STATUS RefuseMisuse(const char* function, const std::string& what, STATUS status) {
    RecordMisuse(std::string(function) + ": " + what);
    return status;
}

bool ExtendedDelivery() { return EnvironmentValue("SimExtendedDelivery") == "1"; }

STATUS CaughtException(const char* function) noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        // Running out of memory is a condition the real library reports, not a misuse.
    } catch (...) {
        try {
            RecordMisuse(std::string(function) + ": an exception left the runtime");
        } catch (...) {
        }
    }
    return kStatusOutOfMemory;
}

STATUS Release(const char* function, HandleKind kind, std::uint32_t handle, const char* operation) {
    if (LiveHandle(kind, handle) == nullptr) {
        return RefuseMisuse(function,
                            std::string(HandleKindName(kind)) + " handle " +
                                std::to_string(handle) + " is not open",
                            kStatusInvalidHandle);
    }
    ReleaseHandle(kind, handle, operation);
    return notesapi::NOERROR;
}

}  // namespace notessim
