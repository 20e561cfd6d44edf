#include "platform/SharedLibrary.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/WideChars.h"

namespace platform {

OpenedLibrary OpenSharedLibrary(const std::u16string& file) {
    OpenedLibrary opened;
    const std::wstring name = ToWide(file);
    // A full path also lets the library's own DLLs be found in its folder.
    const bool isPath = file.find_first_of(u"\\/") != std::u16string::npos;
    HMODULE module = ::LoadLibraryExW(name.c_str(), nullptr,
                                      isPath ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    if (module == nullptr) {
        opened.error = SystemErrorText(::GetLastError());
        // Some texts hold the file as an insert ("%1 is not a valid Win32 application.").
        if (const std::size_t insert = opened.error.find("%1"); insert != std::string::npos) {
            opened.error.replace(insert, 2, Utf16ToUtf8(file));
        }
    } else {
        opened.handle = reinterpret_cast<void*>(module);
    }
    return opened;
}

void* FindLibraryFunction(void* library, const char* name, std::string& error) {
    FARPROC address = ::GetProcAddress(static_cast<HMODULE>(library), name);
    if (address == nullptr) error = SystemErrorText(::GetLastError());
    return reinterpret_cast<void*>(address);
}

std::string LibraryFilePath(void* library, void* /*anyFunction*/) {
    wchar_t path[32768];
    const DWORD length = ::GetModuleFileNameW(static_cast<HMODULE>(library), path, 32768);
    if (length == 0 || length >= 32768) return {};
    return Utf16ToUtf8(FromWide(std::wstring_view(path, length)));
}

}  // namespace platform
#endif
