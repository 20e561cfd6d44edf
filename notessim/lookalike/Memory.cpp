// Memory handles: buffers, compiled formulas and ID tables (which IDDestroyTable releases).
#include "notessim/Selection.h"
#include "notessim/Statuses.h"
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

void* LNPUBLIC OSLockObject(DHANDLE handle) { return notes::LockMemoryHandle(handle); }

BOOL LNPUBLIC OSUnlockObject(DHANDLE handle) {
    notes::UnlockMemoryHandle(handle);
    return 1;
}

STATUS LNPUBLIC OSMemFree(DHANDLE handle) {
    notessim::HandleObject* memory = notessim::LiveHandle(notessim::HandleKind::memory, handle);
    if (dynamic_cast<notessim::IdTableObject*>(memory) != nullptr) {
        return RefuseMisuse("OSMemFree",
                            "memory handle " + std::to_string(handle) +
                                " is an ID table, which only IDDestroyTable releases",
                            notessim::kStatusInvalidHandle);
    }
    return Release("OSMemFree", notessim::HandleKind::memory, handle, notes::FreeMemoryHandle);
}
