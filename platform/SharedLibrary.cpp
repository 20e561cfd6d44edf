#include "platform/SharedLibrary.h"

#ifndef _WIN32
#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/Text.h"

namespace platform {
namespace {

std::string LastLoaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? text : "unknown error";
}

// The folders the loader searches for the program's own libraries, in order: the library path,
// the program's run path, the system's folders.
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
    for (unsigned i = 0; i < info->dls_cnt; ++i) folders.emplace_back(info->dls_serpath[i].dls_name);
    return folders;
}

}  // namespace

OpenedLibrary OpenSharedLibrary(const std::u16string& file) {
    OpenedLibrary opened;
    const std::string name = Utf16ToUtf8(file);
    ::dlerror();
    opened.handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (opened.handle != nullptr) return opened;
    opened.error = LastLoaderError();
    // The loader searches a bare name from the object that calls dlopen; a tool that wraps
    // dlopen (AddressSanitizer does) hides the program's run path, so the program's own search
    // folders are tried as well.
    if (name.find('/') != std::string::npos) return opened;
    for (const std::string& folder : ProgramSearchFolders()) {
        opened.handle = ::dlopen((folder + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (opened.handle != nullptr) return opened;
    }
    return opened;
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
