// Memory handles: buffers, compiled formulas and ID tables (which IDDestroyTable releases).
#include "notessim/Selection.h"
#include "notessim/Statuses.h"
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

void* LNPUBLIC OSLockObject(DHANDLE handle) try {
    return notes::LockMemoryHandle(handle);
} catch (...) {
    CaughtException("OSLockObject");
    return nullptr;
}

BOOL LNPUBLIC OSUnlockObject(DHANDLE handle) try {
    notes::UnlockMemoryHandle(handle);
    return 1;
} catch (...) {
    CaughtException("OSUnlockObject");
    return 0;
}

STATUS LNPUBLIC OSMemFree(DHANDLE handle) try {
    notessim::HandleObject* memory = notessim::LiveHandle(notessim::HandleKind::memory, handle);
    if (dynamic_cast<notessim::IdTableObject*>(memory) != nullptr) {
        return RefuseMisuse("OSMemFree",
                            "memory handle " + std::to_string(handle) +
                                " is an ID table, which only IDDestroyTable releases",
                            notessim::kStatusInvalidHandle);
    }
    return Release("OSMemFree", notessim::HandleKind::memory, handle, notes::FreeMemoryHandle);
} catch (...) {
    return CaughtException("OSMemFree");
}
