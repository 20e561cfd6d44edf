#include "platform/SharedLibrary.h"

#ifndef _WIN32
#include <dlfcn.h>

#include <climits>
#include <cstdlib>

#include "platform/Text.h"

namespace platform {
namespace {

std::string LastLoaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? text : "unknown error";
}

}  // namespace

OpenedLibrary OpenSharedLibrary(const std::u16string& file) {
    OpenedLibrary opened;
    ::dlerror();
    opened.handle = ::dlopen(Utf16ToUtf8(file).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (opened.handle == nullptr) opened.error = LastLoaderError();
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
