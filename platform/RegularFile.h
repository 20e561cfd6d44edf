// Opening a regular file by path on POSIX without following a link: shared by the file
// operations of the platform (the Windows counterpart is RegularFileWindows.h).
#pragma once

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <utility>

#include "platform/Text.h"

namespace platform {

// The descriptor of the regular file `path`, opened with `flags` (O_CREAT and the like allowed),
// never through a link and never waiting on a FIFO; anything but a regular file is closed again.
// Closed when the owner goes, unless released.
class RegularFile {
public:
    RegularFile(const std::u16string& path, int flags) {
        fd_ = ::open(Utf16ToUtf8(path).c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        const bool stated = ::fstat(fd_, &info_) == 0;
        if (!stated || !S_ISREG(info_.st_mode)) {
            error_ = stated ? EINVAL : errno;  // not a regular file, or fstat's error
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~RegularFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    const struct stat& info() const { return info_; }
    int Release() { return std::exchange(fd_, -1); }
    // The system's error when the file could not be opened: EINVAL for one that is not a
    // regular file.
    int error() const { return error_; }

private:
    int fd_ = -1;
    int error_ = 0;
    struct stat info_ {};
};

}  // namespace platform
#endif
