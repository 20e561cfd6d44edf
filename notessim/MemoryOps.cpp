// Memory handles: plain buffers, compiled formulas and ID tables.
#include "notes/NotesPlatform.h"
#include "notessim/Handles.h"

namespace notes {

using notessim::HandleKind;
using notessim::MemoryObject;

void* LockMemoryHandle(MemoryHandle handle) {
    auto* memory = notessim::FindHandleAs<MemoryObject>(HandleKind::memory, handle, "LockMemoryHandle");
    if (memory == nullptr) return nullptr;
    ++memory->lockCount;
    return memory->Data();
}

void UnlockMemoryHandle(MemoryHandle handle) {
    auto* memory =
        notessim::FindHandleAs<MemoryObject>(HandleKind::memory, handle, "UnlockMemoryHandle");
    if (memory == nullptr) return;
    if (memory->lockCount == 0) {
        notessim::RecordMisuse("UnlockMemoryHandle: memory handle " + std::to_string(handle) +
                               " is not locked");
        return;
    }
    --memory->lockCount;
}

void FreeMemoryHandle(MemoryHandle handle) {
    notessim::ReleaseHandle(HandleKind::memory, handle, "FreeMemoryHandle");
}

}  // namespace notes
