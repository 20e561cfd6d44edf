#include "platform/SharedLibrary.h"

#ifndef _WIN32
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

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

// The first bytes of the regular file `path`, for its header; empty when they cannot be read.
std::string FileHead(const std::string& path) {
    std::string head(kExecutableHeadBytes, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {};
    const ssize_t read = ::read(fd, head.data(), head.size());
    ::close(fd);
    head.resize(read > 0 ? static_cast<std::size_t>(read) : 0);
    return head;
}

// Opens the library file `path` (a path, not a bare name). A file that is there but is no
// regular file (a FIFO would block the loader for ever, a directory cannot be one) is refused
// before the loader sees it; links are followed, as libraries are often reached through one.
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
    ::dlerror();
    opened.handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (opened.handle != nullptr) return opened;
    opened.error = LastLoaderError();
    if (opened.found) {
        if (const std::string note = ForeignMachineNote(FileHead(path)); !note.empty()) {
            opened.error += "; " + note;
        }
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
