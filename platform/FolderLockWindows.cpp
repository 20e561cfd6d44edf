#include "platform/FolderLock.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Files.h"
#include "platform/WideChars.h"

namespace platform {

// The lock file needs only the right to create files, which the run log needs as well.
bool CanLockFolder(const std::u16string& /*folder*/) { return true; }

// A lock file opened without sharing: another run cannot open it while this one holds it, and
// it goes when the handle is closed (also when the process ends).
bool FolderLock::TryLock(const std::u16string& folder) {
    if (handle_ != -1) return true;
    std::u16string path = folder;
    path += kPathSeparator;
    path += u"dxlexporter.lock";
    const HANDLE handle = ::CreateFileW(
        ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
        FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    return true;
}

FolderLock::~FolderLock() {
    if (handle_ != -1) ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace platform
#endif
