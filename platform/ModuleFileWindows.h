// The file a loaded module (the program itself, a library) came from, on Windows: shared by the
// platform's process and library calls.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <string>

#include "platform/WideChars.h"

namespace platform {

// The full path of `module`'s file (null: the program's own); empty if the system cannot tell.
inline std::u16string ModuleFilePath(HMODULE module) {
    std::wstring path(32768, L'\0');  // the longest path Windows has, with its terminator
    const DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return {};
    return FromWide(std::wstring_view(path.data(), length));
}

}  // namespace platform
#endif
