#include "platform/FolderLock.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/Text.h"

namespace platform {

namespace {

// flock needs a descriptor that is open for reading: one of O_PATH does not take it.
int OpenFolder(const std::u16string& folder) {
    return ::open(Utf16ToUtf8(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace

bool CanLockFolder(const std::u16string& folder) {
    const int fd = OpenFolder(folder);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The folder itself carries the lock, so no lock file is left behind or can be planted.
bool FolderLock::TryLock(const std::u16string& folder) {
    if (handle_ >= 0) return true;
    const int fd = OpenFolder(folder);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

FolderLock::~FolderLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

}  // namespace platform
#endif
