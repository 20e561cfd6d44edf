// One run per output folder: a lock held for as long as its owner lives.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// False when this process could never take the lock of `folder`, whatever other runs do: on
// POSIX the lock is the folder's own, and a folder that cannot be read (mode 333) cannot carry it.
bool CanLockFolder(const std::u16string& folder);

class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // True when this process now holds the lock of `folder`; false, at once, when another
    // process holds it or it cannot be taken.
    bool TryLock(const std::u16string& folder);

private:
    std::intptr_t handle_ = -1;
};

}  // namespace platform
