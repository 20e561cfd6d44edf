#include "platform/SharedLibrary.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "platform/ExecutableLayout.h"
#include "platform/ExecutableMachine.h"
#include "platform/Text.h"

namespace platform {
namespace {

std::string LastLoaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? text : "unknown error";
}

// The folders the loader searches for the program's own libraries, in order: the library path
// (LD_LIBRARY_PATH), the program's run path, the system's folders, as the loader parsed them.
std::vector<std::string> ProgramSearchFolders() {
    std::vector<std::string> folders;
    void* program = ::dlopen(nullptr, RTLD_NOW);
    Dl_serinfo size{};
    if (program == nullptr || ::dlinfo(program, RTLD_DI_SERINFOSIZE, &size) != 0) return folders;
    std::vector<unsigned char> storage(size.dls_size);
    auto* info = reinterpret_cast<Dl_serinfo*>(storage.data());
    if (::dlinfo(program, RTLD_DI_SERINFOSIZE, info) != 0 ||
        ::dlinfo(program, RTLD_DI_SERINFO, info) != 0) {
        return folders;
    }
    for (unsigned i = 0; i < info->dls_cnt; ++i) {
        folders.emplace_back(info->dls_serpath[i].dls_name);
    }
    return folders;
}

// The library file opened for reading its headers before the loader maps it; closed when the
// owner goes. Never waits on a FIFO put in the file's place since it was looked at.
class LibraryFileReader {
public:
    explicit LibraryFileReader(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~LibraryFileReader() {
        if (fd_ >= 0) ::close(fd_);
    }
    LibraryFileReader(const LibraryFileReader&) = delete;
    LibraryFileReader& operator=(const LibraryFileReader&) = delete;

    // The size of the file, when it is open and a regular file.
    std::optional<std::uint64_t> RegularFileSize() const {
        struct stat info {};
        if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
        return static_cast<std::uint64_t>(info.st_size);
    }

    // Up to `size` bytes from byte `offset`: fewer where the file ends or cannot be read.
    std::string Read(std::uint64_t offset, std::size_t size) const {
        constexpr auto kLastOffset = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
        if (fd_ < 0 || offset > kLastOffset || size > kLastOffset - offset) return {};
        std::string bytes(size, '\0');
        std::size_t got = 0;
        while (got < size) {
            const ssize_t read = ::pread(fd_, bytes.data() + got, size - got,
                                         static_cast<off_t>(offset + got));
            if (read < 0 && errno == EINTR) continue;
            if (read <= 0) break;
            got += static_cast<std::size_t>(read);
        }
        bytes.resize(got);
        return bytes;
    }

private:
    int fd_;
};

// Why the library file `path`, which is there, must not reach the loader: an ELF file cut short,
// whose mapping past its end would end the process at the first access. Empty when the loader
// may try it. `head` receives the file's first bytes, for the note on another machine type.
std::string RefusalBeforeLoading(const std::string& path, std::string& head) {
    const LibraryFileReader file(path);
    const std::optional<std::uint64_t> size = file.RegularFileSize();
    if (!size) return {};  // the loader says why it cannot open it
    head = file.Read(0, kExecutableHeadBytes);
    const std::string reason =
        ElfCutShortReason(*size, [&file](std::uint64_t offset, std::size_t count) {
            return file.Read(offset, count);
        });
    return reason.empty() ? reason : path + ": " + reason;
}

// Opens the library file `path` (a path, not a bare name). A file that is there but is no
// regular file (a FIFO would block the loader for ever, a directory cannot be one), or an ELF
// file cut short, is refused before the loader sees it; links are followed, as libraries are
// often reached through one.
OpenedLibrary OpenLibraryFile(const std::string& path) {
    OpenedLibrary opened;
    opened.file = Utf8ToUtf16KeepingBytes(path);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        opened.found = true;
        if (!S_ISREG(info.st_mode)) {
            opened.error = path + ": not a regular file";
            return opened;
        }
    }
    std::string head;
    if (opened.found) opened.error = RefusalBeforeLoading(path, head);
    if (opened.error.empty()) {
        ::dlerror();
        opened.handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (opened.handle != nullptr) return opened;
        opened.error = LastLoaderError();
    }
    if (const std::string note = ForeignMachineNote(head); !note.empty()) {
        opened.error += "; " + note;
    }
    return opened;
}

// A bare name is looked for as the loader looks for it, but in absolute folders only: an empty
// or relative entry of LD_LIBRARY_PATH or of the run path stands for the working directory,
// from which no library is ever loaded. Files are tried in search order; the first one that is
// there and cannot be loaded gives the failure, as when no other file is found after it.
OpenedLibrary SearchLibrary(const std::string& name) {
    bool relativeEntry = false;
    OpenedLibrary firstFound;
    for (const std::string& folder : ProgramSearchFolders()) {
        if (folder.empty() || folder[0] != '/') {
            relativeEntry = true;
            continue;
        }
        const std::string path = folder + "/" + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) continue;
        OpenedLibrary opened = OpenLibraryFile(path);
        if (opened.handle != nullptr) return opened;
        if (!firstFound.found) firstFound = std::move(opened);
    }
    if (firstFound.found) return firstFound;
    OpenedLibrary opened;
    opened.file = Utf8ToUtf16KeepingBytes(name);
    if (relativeEntry) {
        // The loader's own search would try the working directory before its cache.
        opened.error = name + ": not found in an absolute folder of the library search path "
                              "(relative and empty entries are not searched)";
        return opened;
    }
    // Only the system's cache of libraries is left, which names absolute files.
    ::dlerror();
    opened.handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (opened.handle == nullptr) opened.error = LastLoaderError();
    return opened;
}

}  // namespace

OpenedLibrary OpenSharedLibrary(const std::u16string& file) {
    const std::string name = Utf16ToUtf8(file);
    if (name.find('/') != std::string::npos) return OpenLibraryFile(name);
    return SearchLibrary(name);
}

bool IsAbsolutePath(std::u16string_view path) { return !path.empty() && path.front() == u'/'; }

void* FindLibraryFunction(void* library, const char* name, std::string& error) {
    ::dlerror();
    void* address = ::dlsym(library, name);
    if (address == nullptr) error = LastLoaderError();
    return address;
}

std::string LibraryFilePath(void* /*library*/, void* anyFunction) {
    Dl_info info{};
    if (::dladdr(anyFunction, &info) == 0 || info.dli_fname == nullptr) return {};
    char resolved[PATH_MAX];
    if (::realpath(info.dli_fname, resolved) != nullptr) return resolved;
    return info.dli_fname;
}

}  // namespace platform
#endif
