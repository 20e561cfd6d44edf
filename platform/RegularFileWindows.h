// Opening a regular file by path on Windows without following a link: shared by the file
// operations of the platform.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "platform/Files.h"

namespace platform {

// Closes the handle it holds when it goes.
class HandleOwner {
public:
    explicit HandleOwner(HANDLE handle) : handle_(handle) {}
    ~HandleOwner() {
        if (IsOpen()) ::CloseHandle(handle_);
    }
    HandleOwner(HandleOwner&& other) noexcept : handle_(other.Release()) {}
    HandleOwner(const HandleOwner&) = delete;
    HandleOwner& operator=(const HandleOwner&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    HANDLE Release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }

private:
    HANDLE handle_;
};

// The file `path` opened with `access` and `disposition` (as CreateFileW takes them), the link
// itself rather than its target, and kept only when it is a file on the disk: not a directory,
// a link, a pipe or a device. `info` receives what the system knows of it.
HandleOwner OpenRegularFileHandle(const std::u16string& path, DWORD access, DWORD disposition,
                                  BY_HANDLE_FILE_INFORMATION& info);

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info);

}  // namespace platform
#endif
