#include "platform/OutputFileSystem.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>

#include "platform/RegularFileWindows.h"
#include "platform/WideChars.h"

namespace platform {

std::FILE* OpenTextStream(const std::u16string& path, OpenMode mode, FileIdentity& identity,
                          SystemFailure* failure) {
    DWORD disposition = CREATE_ALWAYS;
    switch (mode) {
        case OpenMode::replace: disposition = CREATE_ALWAYS; break;
        case OpenMode::append: disposition = OPEN_ALWAYS; break;
        case OpenMode::createNew: disposition = CREATE_NEW; break;
        case OpenMode::appendExisting: disposition = OPEN_EXISTING; break;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    HandleOwner file = OpenRegularFileHandle(path, GENERIC_WRITE, disposition, info);
    if (!file.IsOpen()) {
        Failed("CreateFileW", failure);
        return nullptr;
    }
    identity = IdentityOf(info);
    // The C runtime's text mode stores every line feed as CR LF.
    const bool replace = mode == OpenMode::replace;
    const int descriptor = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(file.Get()),
                                             _O_WRONLY | _O_TEXT | (replace ? 0 : _O_APPEND));
    if (descriptor < 0) return nullptr;
    file.Release();  // the descriptor owns it now
    std::FILE* stream = ::_fdopen(descriptor, replace ? "wt" : "at");
    if (stream == nullptr) ::_close(descriptor);
    return stream;
}

std::FILE* OpenAnonymousStream() {
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

bool SyncFileIfUnchanged(const std::u16string& path, const FileIdentity& identity,
                         std::uint64_t size) {
    BY_HANDLE_FILE_INFORMATION info{};
    // FlushFileBuffers needs a handle open for writing.
    const HandleOwner file = OpenRegularFileHandle(path, GENERIC_WRITE, OPEN_EXISTING, info);
    if (!file.IsOpen()) return false;
    const std::uint64_t found = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    return IdentityOf(info) == identity && found == size && ::FlushFileBuffers(file.Get());
}

bool CutToWholeLines(const std::u16string& path, LineEnds ends) {
    BY_HANDLE_FILE_INFORMATION info{};
    const HandleOwner file =
        OpenRegularFileHandle(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, info);
    if (!file.IsOpen()) return false;
    WholeLineScan scan{ends};
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        scan.Scan({buffer, got});
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(scan.kept);
    return ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) &&
           ::SetEndOfFile(file.Get());
}

bool RenameReplacing(const std::u16string& from, const std::u16string& to) {
    // Within one folder (one volume) this is a rename that replaces the target in one step.
    return ::MoveFileExW(ToWide(from).c_str(), ToWide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace platform
#endif
