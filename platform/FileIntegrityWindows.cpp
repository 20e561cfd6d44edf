#include "platform/FileIntegrity.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/RegularFileWindows.h"

namespace platform {

bool SyncFileIfUnchanged(const std::u16string& path, const FileIdentity& identity,
                         std::uint64_t size) {
    BY_HANDLE_FILE_INFORMATION info{};
    // FlushFileBuffers needs a handle open for writing.
    const HandleOwner file = OpenRegularFileHandle(path, GENERIC_WRITE, OPEN_EXISTING, info);
    if (!file.IsOpen()) return false;
    const std::uint64_t found = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    return IdentityOf(info) == identity && found == size && ::FlushFileBuffers(file.Get());
}

bool CutRegularFile(const std::u16string& path, CompleteLineScanner scanner) {
    BY_HANDLE_FILE_INFORMATION info{};
    const HandleOwner file =
        OpenRegularFileHandle(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, info);
    if (!file.IsOpen()) return false;
    CompleteLineScan scan;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
        scanner(scan, {buffer, got});
        scan.scanned += got;
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(scan.kept);
    return ::SetFilePointerEx(file.Get(), end, nullptr, FILE_BEGIN) &&
           ::SetEndOfFile(file.Get());
}

}  // namespace platform
#endif
