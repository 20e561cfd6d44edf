#include "platform/FileIntegrity.h"

#include <algorithm>

namespace platform {

std::uint64_t TextStreamBytes(std::string_view text) {
    return text.size() + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace platform

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Text.h"

namespace platform {
namespace {

// The descriptor of the regular file `path`, never through a link, and never waiting on a FIFO.
class RegularFile {
public:
    RegularFile(const std::u16string& path, int access) {
        fd_ = ::open(Utf16ToUtf8(path).c_str(), access | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd_ >= 0 && (::fstat(fd_, &info_) != 0 || !S_ISREG(info_.st_mode))) {
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

private:
    int fd_ = -1;
    struct stat info_ {};
};

}  // namespace

bool SyncFileIfUnchanged(const std::u16string& path, const FileIdentity& identity,
                         std::uint64_t size) {
    const RegularFile file(path, O_RDONLY);
    if (!file.IsOpen()) return false;
    const FileIdentity found{file.info().st_dev, file.info().st_ino};
    return found == identity && static_cast<std::uint64_t>(file.info().st_size) == size &&
           ::fsync(file.fd()) == 0;
}

bool CutRegularFile(const std::u16string& path,
                    std::size_t (*keptLength)(std::string_view content)) {
    const RegularFile file(path, O_RDWR);
    if (!file.IsOpen()) return false;
    std::string content;
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0 && errno != EINTR) return false;
        if (got > 0) content.append(buffer, static_cast<std::size_t>(got));
    }
    return ::ftruncate(file.fd(), static_cast<off_t>(keptLength(content))) == 0;
}

}  // namespace platform
#endif
