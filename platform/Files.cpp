#include "platform/Files.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/RegularFile.h"
#include "platform/Text.h"

namespace platform {
namespace {

std::string NativePath(const std::u16string& path) { return Utf16ToUtf8(path); }

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The stream's cookie: the file descriptor behind a text-mode stream. Each line feed goes out as
// CR LF; the runs between line feeds are copied whole.
ssize_t TextWrite(void* cookie, const char* data, std::size_t size) {
    const int fd = static_cast<int>(reinterpret_cast<std::intptr_t>(cookie));
    char out[8192];
    std::size_t used = 0;
    for (std::size_t i = 0; i < size;) {
        const void* found = std::memchr(data + i, '\n', size - i);
        const std::size_t run = (found == nullptr ? size : static_cast<const char*>(found) - data) - i;
        const std::size_t piece = std::min(run, sizeof out - 2 - used);
        std::memcpy(out + used, data + i, piece);
        used += piece;
        i += piece;
        if (piece == run && i < size) {  // the line feed itself
            out[used++] = '\r';
            out[used++] = '\n';
            ++i;
        }
        if (used >= sizeof out - 2) {
            if (!WriteAll(fd, out, used)) return -1;
            used = 0;
        }
    }
    if (!WriteAll(fd, out, used)) return -1;
    return static_cast<ssize_t>(size);
}

int TextClose(void* cookie) {
    return ::close(static_cast<int>(reinterpret_cast<std::intptr_t>(cookie)));
}

}  // namespace

PathKind QueryPathKind(const std::u16string& path) {
    struct stat info {};
    if (::stat(NativePath(path).c_str(), &info) != 0) return PathKind::missing;
    return S_ISDIR(info.st_mode) ? PathKind::directory : PathKind::other;
}

DeleteResult DeleteFilePath(const std::u16string& path, SystemFailure* failure) {
    const std::string native = NativePath(path);
    struct stat info {};
    // Like the Windows call, only files are deleted: a directory of that name is a failure.
    if (::lstat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        KeepFailure("unlink", failure);
        return DeleteResult::failed;
    }
    if (::unlink(native.c_str()) == 0) return DeleteResult::deleted;
    if (errno == ENOENT) return DeleteResult::notFound;
    KeepFailure("unlink", failure);
    return DeleteResult::failed;
}

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to,
                       SystemFailure* failure, SystemFailure* leftover) {
    const std::string source = NativePath(from);
    const std::string target = NativePath(to);
    // A hard link fails when the target exists, so no existing file is ever replaced. Once it
    // is made the file has its new name, whether or not the old one can go (an append-only
    // folder keeps every name).
    if (::link(source.c_str(), target.c_str()) == 0) {
        if (::unlink(source.c_str()) != 0) KeepFailure("unlink", leftover);
        return true;
    }
    if (errno == EEXIST) return KeepFailure("link", failure);
    // File systems without hard links (vfat, exFAT, many SMB mounts): a rename that refuses an
    // existing target in the same step.
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return KeepFailure("renameat2", failure);
    }
    // Nor that: a plain rename of a name found free. Only one run writes into a folder at a time
    // (its lock), so the name stays free up to the rename.
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) {
        errno = EEXIST;
        return KeepFailure("rename", failure);
    }
    if (errno != ENOENT) return KeepFailure("lstat", failure);
    return std::rename(source.c_str(), target.c_str()) == 0 || KeepFailure("rename", failure);
}

void SleepMilliseconds(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::FILE* OpenTextStream(const std::u16string& path, OpenMode mode, FileIdentity* identity,
                          SystemFailure* failure) {
    int flags = O_WRONLY;
    switch (mode) {
        case OpenMode::replace: flags |= O_CREAT | O_TRUNC; break;
        case OpenMode::append: flags |= O_CREAT | O_APPEND; break;
        case OpenMode::createNew: flags |= O_CREAT | O_EXCL | O_APPEND; break;
        case OpenMode::appendExisting: flags |= O_APPEND; break;
    }
    // Opened non-blocking, so that a FIFO without a reader fails at once; writes then block.
    RegularFile file(path, flags);
    if (!file.IsOpen()) {
        errno = file.error();
        KeepFailure("open", failure);
        return nullptr;
    }
    if (::fcntl(file.fd(), F_SETFL, flags & O_APPEND) != 0) {
        KeepFailure("fcntl", failure);
        return nullptr;
    }
    if (identity != nullptr) *identity = {file.info().st_dev, file.info().st_ino};
    cookie_io_functions_t functions{nullptr, TextWrite, nullptr, TextClose};
    const char* streamMode = mode == OpenMode::replace ? "w" : "a";
    std::FILE* stream = ::fopencookie(reinterpret_cast<void*>(static_cast<std::intptr_t>(file.fd())),
                                      streamMode, functions);
    if (stream == nullptr) {
        KeepFailure("fopencookie", failure);
        return nullptr;
    }
    file.Release();  // the stream owns the descriptor now
    return stream;
}

bool CanWriteFileIn(const std::u16string& folder, const std::u16string& path) {
    // Also false on a read-only file system, where even root cannot write.
    if (::access(NativePath(folder).c_str(), W_OK | X_OK) != 0) return false;
    struct stat info {};
    const std::string native = NativePath(path);
    if (::lstat(native.c_str(), &info) != 0) return errno == ENOENT;
    return S_ISREG(info.st_mode) && ::access(native.c_str(), W_OK) == 0;
}

}  // namespace platform
#endif
