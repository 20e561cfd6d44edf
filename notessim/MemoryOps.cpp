// Memory handles: plain buffers, compiled formulas and ID tables (which IDDestroyTable releases).
#include <algorithm>

#include "notessim/ApiEdge.h"
#include "notessim/Selection.h"
#include "notessim/Statuses.h"

using namespace notessim;

void* LNPUBLIC OSLockObject(DHANDLE handle) try {
    auto* memory = FindHandleAs<MemoryObject>(HandleKind::memory, handle, "LockMemoryHandle");
    if (memory == nullptr) return nullptr;
    ++memory->lockCount;
    return memory->Data();
} catch (...) {
    CaughtException("OSLockObject");
    return nullptr;
}

// Never fails, as the reference says; a handle that is not a live memory handle (which halts a
// real library) is a recorded misuse and gives the size 0.
STATUS LNPUBLIC OSMemGetSize(DHANDLE handle, DWORD* retSize) try {
    auto* memory = FindHandleAs<MemoryObject>(HandleKind::memory, handle, "GetMemorySize");
    const std::size_t size = memory == nullptr ? 0 : memory->Size();
    if (retSize != nullptr) *retSize = static_cast<DWORD>(std::min<std::size_t>(size, 0xFFFFFFFF));
    return notesapi::NOERROR;
} catch (...) {
    return CaughtException("OSMemGetSize");
}

BOOL LNPUBLIC OSUnlockObject(DHANDLE handle) try {
    auto* memory = FindHandleAs<MemoryObject>(HandleKind::memory, handle, "UnlockMemoryHandle");
    if (memory == nullptr) return 1;
    if (memory->lockCount == 0) {
        RecordMisuse("UnlockMemoryHandle: memory handle " + std::to_string(handle) +
                     " is not locked");
        return 1;
    }
    --memory->lockCount;
    return 1;
} catch (...) {
    CaughtException("OSUnlockObject");
    return 0;
}

STATUS LNPUBLIC OSMemFree(DHANDLE handle) try {
    if (dynamic_cast<IdTableObject*>(LiveHandle(HandleKind::memory, handle)) != nullptr) {
        return RefuseMisuse("OSMemFree",
                            "memory handle " + std::to_string(handle) +
                                " is an ID table, which only IDDestroyTable releases",
                            kStatusInvalidHandle);
    }
    return Release("OSMemFree", HandleKind::memory, handle, "FreeMemoryHandle");
} catch (...) {
    return CaughtException("OSMemFree");
}
