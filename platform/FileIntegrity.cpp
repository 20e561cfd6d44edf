#include "platform/FileIntegrity.h"

#include <algorithm>

namespace platform {

std::uint64_t TextStreamBytes(std::string_view text) {
    return text.size() + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
}

void ScanCompleteLines(CompleteLineScan& scan, std::string_view piece) {
    if (const std::size_t end = piece.rfind('\n'); end != std::string_view::npos) {
        scan.kept = scan.scanned + end + 1;
    }
}

}  // namespace platform

#ifndef _WIN32
#include <cerrno>

#include "platform/RegularFile.h"

namespace platform {

bool SyncFileIfUnchanged(const std::u16string& path, const FileIdentity& identity,
                         std::uint64_t size) {
    const RegularFile file(path, O_RDONLY);
    if (!file.IsOpen()) return false;
    const FileIdentity found{file.info().st_dev, file.info().st_ino};
    return found == identity && static_cast<std::uint64_t>(file.info().st_size) == size &&
           ::fsync(file.fd()) == 0;
}

bool CutRegularFile(const std::u16string& path, CompleteLineScanner scanner) {
    const RegularFile file(path, O_RDWR);
    if (!file.IsOpen()) return false;
    CompleteLineScan scan;
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0 && errno != EINTR) return false;
        if (got <= 0) continue;
        scanner(scan, {buffer, static_cast<std::size_t>(got)});
        scan.scanned += static_cast<std::uint64_t>(got);
    }
    return ::ftruncate(file.fd(), static_cast<off_t>(scan.kept)) == 0;
}

}  // namespace platform
#endif
