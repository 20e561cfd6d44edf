#include "platform/SharedLibrary.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/ExecutableMachine.h"
#include "platform/RegularFileWindows.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/WideChars.h"

namespace platform {
namespace {

enum class FileState { missing, regular, other };

// Whether the library file `path` is there and a file on the disk (links followed, as the loader
// follows them), with its first bytes in `head` when it is.
FileState InspectFile(const std::wstring& path, std::string& head) {
    HandleOwner file(::CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.IsOpen()) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                             error == ERROR_INVALID_NAME;
        return missing ? FileState::missing : FileState::regular;  // the loader says why
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return FileState::other;
    }
    head.assign(kExecutableHeadBytes, '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) {
        read = 0;
    }
    head.resize(read);
    return FileState::regular;
}

}  // namespace

OpenedLibrary OpenSharedLibrary(const std::u16string& file) {
    OpenedLibrary opened;
    opened.file = file;
    const std::wstring name = ToWide(file);
    // A full path also lets the library's own DLLs be found in its folder.
    const bool isPath = file.find_first_of(u"\\/") != std::u16string::npos;
    std::string head;
    if (isPath) {
        const FileState state = InspectFile(name, head);
        opened.found = state != FileState::missing;
        if (state == FileState::other) {
            opened.error = Utf16ToUtf8(file) + ": not a regular file";
            return opened;
        }
    }
    HMODULE module = ::LoadLibraryExW(name.c_str(), nullptr,
                                      isPath ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    if (module == nullptr) {
        const DWORD error = ::GetLastError();
        opened.error = SystemErrorText(error);
        // A bare name of a file for another machine: the file the search found, for its header.
        if (!isPath && error == ERROR_BAD_EXE_FORMAT) {
            wchar_t found[MAX_PATH];
            const DWORD length = ::SearchPathW(nullptr, name.c_str(), nullptr, MAX_PATH, found,
                                               nullptr);
            if (length > 0 && length < MAX_PATH &&
                InspectFile(found, head) == FileState::regular) {
                opened.found = true;
            }
        }
        // Some texts hold the file as an insert ("%1 is not a valid Win32 application.").
        if (const std::size_t insert = opened.error.find("%1"); insert != std::string::npos) {
            opened.error.replace(insert, 2, Utf16ToUtf8(file));
        }
        if (const std::string note = ForeignMachineNote(head); !note.empty()) {
            opened.error += "; " + note;
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
