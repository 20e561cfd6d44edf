#include "platform/OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/OutputFileSystem.h"

namespace platform {

OutputFile::OutputFile(const std::u16string& path, OpenMode mode, SystemFailure* failure)
    : path_(path) {
    stream_ = OpenTextStream(path, mode, identity_, failure);
}

OutputFile OutputFile::AnonymousTemporary() {
    OutputFile file;
    file.stream_ = OpenAnonymousStream();
    return file;
}

OutputFile::OutputFile(OutputFile&& other) noexcept
    : stream_(std::exchange(other.stream_, nullptr)),
      path_(std::move(other.path_)),
      identity_(other.identity_) {}

OutputFile& OutputFile::operator=(OutputFile&& other) noexcept {
    if (this != &other) {
        Close();
        stream_ = std::exchange(other.stream_, nullptr);
        path_ = std::move(other.path_);
        identity_ = other.identity_;
    }
    return *this;
}

bool OutputFile::Write(std::string_view bytes, std::size_t* written, SystemFailure* failure) {
    errno = 0;
    const std::size_t taken =
        bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), stream_);
    if (written != nullptr) *written = taken;
    return taken == bytes.size() || Failed("write", failure);  // the error as the write left it
}

bool OutputFile::Close() {
    if (stream_ == nullptr) return true;
    const bool flushed = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return flushed && closed;
}

bool OutputFile::CloseKeepingWholeLines(bool writeFailed, LineEnds ends) {
    const bool open = stream_ != nullptr;
    const bool closed = Close();
    if (open && (writeFailed || !closed)) CutToWholeLines(path_, ends);
    return closed;
}

std::uint64_t StoredBytes(std::string_view text) {
    return text.size() + static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
}

void WholeLineScan::Scan(std::string_view piece) {
    if (ends == LineEnds::lines) {
        if (const std::size_t end = piece.rfind('\n'); end != std::string_view::npos) {
            kept = scanned + end + 1;
        }
    } else {
        // A quoted field may hold line feeds, and its double quotes come in pairs.
        for (std::size_t i = 0; i < piece.size(); ++i) {
            if (piece[i] == '"') quoted = !quoted;
            if (piece[i] == '\n' && !quoted) kept = scanned + i + 1;
        }
    }
    scanned += piece.size();
}

DeleteResult StagingFile::Clear(SystemFailure* failure) const {
    return DeleteFilePath(path_, failure);
}

OutputFile StagingFile::Open(SystemFailure* failure) {
    if (!created_) {
        OutputFile file(path_, OpenMode::createNew, failure);
        if (file.IsOpen()) {
            created_ = true;
            identity_ = file.identity();
            size_ = 0;
        }
        return file;
    }
    OutputFile file(path_, OpenMode::appendExisting, failure);
    if (file.IsOpen() && !(file.identity() == identity_)) {
        if (failure != nullptr) *failure = {};  // the open succeeded, on another file
        return {};
    }
    return file;
}

bool StagingFile::IsCompleteAt(const std::u16string& at) const {
    return SyncFileIfUnchanged(at, identity_, size_);
}

bool StagingFile::PublishWithoutReplacing(const std::u16string& target, SystemFailure* failure,
                                          SystemFailure* leftover) const {
    return MoveFileNoReplace(path_, target, failure, leftover);
}

bool StagingFile::PublishReplacing(const std::u16string& target) const {
    return RenameReplacing(path_, target);
}

}  // namespace platform

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/RegularFile.h"
#include "platform/Text.h"

namespace platform {
namespace {

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

std::FILE* OpenTextStream(const std::u16string& path, OpenMode mode, FileIdentity& identity,
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
        Failed("open", failure);
        return nullptr;
    }
    if (::fcntl(file.fd(), F_SETFL, flags & O_APPEND) != 0) {
        Failed("fcntl", failure);
        return nullptr;
    }
    identity = {file.info().st_dev, file.info().st_ino};
    cookie_io_functions_t functions{nullptr, TextWrite, nullptr, TextClose};
    const char* streamMode = mode == OpenMode::replace ? "w" : "a";
    std::FILE* stream = ::fopencookie(reinterpret_cast<void*>(static_cast<std::intptr_t>(file.fd())),
                                      streamMode, functions);
    if (stream == nullptr) {
        Failed("fopencookie", failure);
        return nullptr;
    }
    file.Release();  // the stream owns the descriptor now
    return stream;
}

std::FILE* OpenAnonymousStream() {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = folder != nullptr && folder[0] != '\0' ? folder : "/tmp";
    pattern += "/dxlexporter-XXXXXX";
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return nullptr;
    ::unlink(pattern.c_str());
    std::FILE* file = ::fdopen(fd, "w+b");
    if (file == nullptr) ::close(fd);
    return file;
}

bool SyncFileIfUnchanged(const std::u16string& path, const FileIdentity& identity,
                         std::uint64_t size) {
    const RegularFile file(path, O_RDONLY);
    if (!file.IsOpen()) return false;
    const FileIdentity found{file.info().st_dev, file.info().st_ino};
    return found == identity && static_cast<std::uint64_t>(file.info().st_size) == size &&
           ::fsync(file.fd()) == 0;
}

bool CutToWholeLines(const std::u16string& path, LineEnds ends) {
    const RegularFile file(path, O_RDWR);
    if (!file.IsOpen()) return false;
    WholeLineScan scan{ends};
    char buffer[65536];
    while (true) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0 && errno != EINTR) return false;
        if (got > 0) scan.Scan({buffer, static_cast<std::size_t>(got)});
    }
    return ::ftruncate(file.fd(), static_cast<off_t>(scan.kept)) == 0;
}

bool RenameReplacing(const std::u16string& from, const std::u16string& to) {
    return std::rename(Utf16ToUtf8(from).c_str(), Utf16ToUtf8(to).c_str()) == 0;
}

}  // namespace platform
#endif
