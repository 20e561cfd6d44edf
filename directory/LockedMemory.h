// A locked Notes memory handle, owned for reading.
#pragma once

#include "notes/NotesHandleOwner.h"

namespace directory {

// A memory handle locked for reading: unlocked, then freed, at the end of the scope.
class LockedMemory {
public:
    explicit LockedMemory(notes::MemoryHandle handle)
        : owner_(handle), data_(notes::LockMemoryHandle(handle)) {}
    ~LockedMemory() {
        if (data_ != nullptr) notes::UnlockMemoryHandle(owner_.Get());
    }
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;

    const unsigned char* Data() const { return static_cast<const unsigned char*>(data_); }

private:
    notes::MemoryOwner owner_;
    void* data_;
};

}  // namespace directory
