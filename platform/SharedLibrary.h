// Loading a shared library at run time and finding its functions by name. A library once opened
// stays loaded for the life of the process.
#pragma once

#include <string>

namespace platform {

struct OpenedLibrary {
    void* handle = nullptr;  // null when the library could not be opened
    std::string error;       // UTF-8: the system's reason, when not opened
};

// A bare file name is looked for the way the system looks for libraries; a path names that file.
OpenedLibrary OpenSharedLibrary(const std::u16string& file);

// The address of the exported function `name`, or null with the system's reason in `error`.
void* FindLibraryFunction(void* library, const char* name, std::string& error);

// The full path of the file the library was loaded from (UTF-8), empty if the system cannot tell.
std::string LibraryFilePath(void* library, void* anyFunction);

}  // namespace platform
