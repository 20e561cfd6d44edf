// A locked Notes memory handle, owned for reading.
#pragma once

#include <cstdint>

#include "directory/AddressRange.h"
#include "notes/NotesHandleOwner.h"
#include "notes/NotesStatuses.h"

namespace directory {

// A memory handle locked for reading, with the size of what the lock shows: unlocked, then
// freed, at the end of the scope. A lock that gives no memory is a failure (status()).
class LockedMemory {
public:
    explicit LockedMemory(notes::MemoryHandle handle) : owner_(handle) {
        status_ = notes::GetMemorySize(handle, &size_);
        if (status_ != 0) return;
        data_ = notes::LockMemoryHandle(handle);
        if (data_ == nullptr) status_ = notes::kStatusInvalidHandle;
    }
    ~LockedMemory() {
        if (data_ != nullptr) notes::UnlockMemoryHandle(owner_.Get());
    }
    LockedMemory(const LockedMemory&) = delete;
    LockedMemory& operator=(const LockedMemory&) = delete;

    notes::NotesStatus status() const { return status_; }
    const unsigned char* Data() const { return static_cast<const unsigned char*>(data_); }
    std::uint32_t Size() const { return data_ != nullptr ? size_ : 0; }
    // True when `length` bytes at `at` lie wholly inside the locked memory.
    bool Holds(const void* at, std::uint32_t length) const {
        return data_ != nullptr && LiesWithin(data_, size_, at, length);
    }

private:
    notes::MemoryOwner owner_;
    void* data_ = nullptr;
    std::uint32_t size_ = 0;
    notes::NotesStatus status_ = 0;
};

}  // namespace directory
