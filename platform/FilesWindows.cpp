#include "platform/Files.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/RegularFileWindows.h"
#include "platform/WideChars.h"

namespace platform {

PathKind QueryPathKind(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::directory : PathKind::other;
}

DeleteResult DeleteFilePath(const std::u16string& path, SystemFailure* failure) {
    if (::DeleteFileW(ToWide(path).c_str())) return DeleteResult::deleted;
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) return DeleteResult::notFound;
    Failed("DeleteFileW", failure);
    return DeleteResult::failed;
}

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to,
                       SystemFailure* failure, SystemFailure* /*leftover*/) {
    // MoveFileW never replaces an existing target.
    return ::MoveFileW(ToWide(from).c_str(), ToWide(to).c_str()) != 0 ||
           Failed("MoveFileW", failure);
}

void SleepMilliseconds(unsigned milliseconds) { ::Sleep(milliseconds); }

HandleOwner OpenRegularFileHandle(const std::u16string& path, DWORD access, DWORD disposition,
                                  BY_HANDLE_FILE_INFORMATION& info) {
    HandleOwner file(::CreateFileW(ToWide(path).c_str(), access,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                   FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.IsOpen()) return file;
    constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & kNotAFile) != 0) {
        ::CloseHandle(file.Release());
        ::SetLastError(ERROR_INVALID_PARAMETER);  // not a regular file
    }
    return file;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

bool CanWriteFileIn(const std::u16string& folder, const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    constexpr DWORD kNotWritable =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
    if (attributes == INVALID_FILE_ATTRIBUTES && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotWritable) != 0) return false;
    // A probe file, gone again when closed, shows whether files can be created there.
    std::u16string probe = folder;
    probe += kPathSeparator;
    probe += u"dxlexporter-probe-";
    for (char c : std::to_string(::GetCurrentProcessId())) probe += static_cast<char16_t>(c);
    const HandleOwner file(::CreateFileW(
        ToWide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.IsOpen();
}

}  // namespace platform
#endif
