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
        Failed("unlink", failure);
        return DeleteResult::failed;
    }
    if (::unlink(native.c_str()) == 0) return DeleteResult::deleted;
    if (errno == ENOENT) return DeleteResult::notFound;
    Failed("unlink", failure);
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
        if (::unlink(source.c_str()) != 0) Failed("unlink", leftover);
        return true;
    }
    if (errno == EEXIST) return Failed("link", failure);
    // File systems without hard links (vfat, exFAT, many SMB mounts): a rename that refuses an
    // existing target in the same step.
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return Failed("renameat2", failure);
    }
    // Nor that: a plain rename of a name found free. Only one run writes into a folder at a time
    // (its lock), so the name stays free up to the rename.
    struct stat info {};
    if (::lstat(target.c_str(), &info) == 0) {
        errno = EEXIST;
        return Failed("rename", failure);
    }
    if (errno != ENOENT) return Failed("lstat", failure);
    return std::rename(source.c_str(), target.c_str()) == 0 || Failed("rename", failure);
}

void SleepMilliseconds(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
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
