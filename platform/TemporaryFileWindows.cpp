#include "platform/TemporaryFile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <string>

namespace platform {

std::FILE* OpenAnonymousTempFile() {
    // The C runtime's tmpfile() would use the root of the current drive, which users may not
    // write to: the file goes to the user's temporary folder and is deleted when closed.
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return nullptr;
    wchar_t name[MAX_PATH];
    if (::GetTempFileNameW(folder, L"dxl", 0, name) == 0) return nullptr;
    const HANDLE handle = ::CreateFileW(
        name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, TRUNCATE_EXISTING,
        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ::DeleteFileW(name);
        return nullptr;
    }
    const int descriptor =
        ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (descriptor < 0) {
        ::CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = ::_fdopen(descriptor, "w+b");
    if (file == nullptr) ::_close(descriptor);
    return file;
}

}  // namespace platform
#endif
