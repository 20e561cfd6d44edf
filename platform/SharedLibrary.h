// Loading a shared library at run time and finding its functions by name. A library once opened
// stays loaded for the life of the process.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct OpenedLibrary {
    void* handle = nullptr;  // null when the library could not be opened
    std::string error;       // UTF-8: the system's reason, when not opened
    std::u16string file;     // the file opened or tried: for a bare name, the one found if any
    bool found = false;      // a file was there, whether or not it could be loaded
};

// A bare file name is looked for the way the system looks for libraries, but never in the working
// directory: on POSIX never from an empty or relative entry of the search path, which stands for
// it; on Windows in the program's folder, the system folders and the absolute entries of PATH,
// and loaded by the full path found. A path names that file. Anything but a regular file (a
// FIFO, a directory) and a file cut short (its headers or loaded parts past its end) are refused
// at once, and a file built for another machine type says so in `error`.
OpenedLibrary OpenSharedLibrary(const std::u16string& file);

// Whether `path` names the same place from any working directory: on Windows it begins at a
// drive's root ("C:\Notes") or is a UNC path ("\\server\share"), on POSIX it begins with "/".
bool IsAbsolutePath(std::u16string_view path);

#ifdef _WIN32
// Takes the working directory out of the system's DLL search for the rest of the process, for
// the libraries the Notes library loads by name too; the program's folder, the system folders
// and PATH stay. Called before anything is loaded.
void RemoveWorkingDirectoryFromDllSearch();
#endif

// The address of the exported function `name`, or null with the system's reason in `error`.
void* FindLibraryFunction(void* library, const char* name, std::string& error);

// The full path of the file the library was loaded from (UTF-8), empty if the system cannot tell.
std::string LibraryFilePath(void* library, void* anyFunction);

}  // namespace platform
