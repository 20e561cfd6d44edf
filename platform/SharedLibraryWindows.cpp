#include "platform/SharedLibrary.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/ExecutableLayout.h"
#include "platform/ExecutableMachine.h"
#include "platform/ModuleFileWindows.h"
#include "platform/Process.h"
#include "platform/RegularFileWindows.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/WideChars.h"

namespace platform {
namespace {

enum class FileState { missing, regular, other };

struct Inspection {
    FileState state = FileState::missing;
    std::string head;      // the first bytes of a regular file, for the note on its machine
    std::string cutShort;  // why a PE file cut short must not reach the loader
};

// Up to `size` bytes of the open file from byte `offset`: fewer where it ends or cannot be read.
std::string ReadAt(HANDLE file, std::uint64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    std::size_t got = 0;
    while (got < size) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset + got);
        at.OffsetHigh = static_cast<DWORD>((offset + got) >> 32);
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size - got, 1u << 20));
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data() + got, chunk, &read, &at) || read == 0) break;
        got += read;
    }
    bytes.resize(got);
    return bytes;
}

// Whether the library file `path` is there and a file on the disk (links followed, as the loader
// follows them), with its first bytes and, for a PE file cut short, the reason to refuse it.
Inspection InspectFile(const std::wstring& path) {
    Inspection inspection;
    HandleOwner file(::CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.IsOpen()) {
        const DWORD error = ::GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                             error == ERROR_INVALID_NAME;
        // A file that is there but cannot be opened: the loader says why.
        inspection.state = missing ? FileState::missing : FileState::regular;
        return inspection;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        inspection.state = FileState::other;
        return inspection;
    }
    inspection.state = FileState::regular;
    inspection.head = ReadAt(file.Get(), 0, kExecutableHeadBytes);
    const std::uint64_t size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    inspection.cutShort = PeCutShortReason(size, [&file](std::uint64_t offset, std::size_t count) {
        return ReadAt(file.Get(), offset, count);
    });
    return inspection;
}

// Loads the library file `path`, inspected as `inspection`, by that path: its own DLLs are then
// looked for in its folder first. Anything but a regular file, or a PE file cut short, is
// refused before the loader sees it.
OpenedLibrary OpenLibraryFile(const std::u16string& path, const Inspection& inspection) {
    OpenedLibrary opened;
    opened.file = path;
    opened.found = inspection.state != FileState::missing;
    if (inspection.state == FileState::other) {
        opened.error = Utf16ToUtf8(path) + ": not a regular file";
        return opened;
    }
    if (!inspection.cutShort.empty()) {
        opened.error = Utf16ToUtf8(path) + ": " + inspection.cutShort;
    } else {
        HMODULE module = ::LoadLibraryExW(ToWide(path).c_str(), nullptr,
                                          LOAD_WITH_ALTERED_SEARCH_PATH);
        if (module != nullptr) {
            opened.handle = reinterpret_cast<void*>(module);
            return opened;
        }
        opened.error = SystemErrorText(::GetLastError());
        // Some texts hold the file as an insert ("%1 is not a valid Win32 application.").
        if (const std::size_t insert = opened.error.find("%1"); insert != std::string::npos) {
            opened.error.replace(insert, 2, Utf16ToUtf8(path));
        }
    }
    if (const std::string note = ForeignMachineNote(inspection.head); !note.empty()) {
        opened.error += "; " + note;
    }
    return opened;
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// The folder of the program's own file; empty if the system cannot tell.
std::u16string ProgramFolder() {
    const std::u16string file = ModuleFilePath(nullptr);
    const std::size_t separator = file.find_last_of(u"\\/");
    return separator != std::u16string::npos ? file.substr(0, separator) : std::u16string();
}

// A folder the system names through `call` (GetSystemDirectoryW, GetWindowsDirectoryW).
std::u16string SystemFolder(UINT (WINAPI* call)(LPWSTR, UINT)) {
    wchar_t folder[MAX_PATH];
    const UINT length = call(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? FromWide(std::wstring_view(folder, length))
                                           : std::u16string();
}

// The folders a bare library name is looked for in, in the system's order without the working
// directory: the program's own folder, the system folders (System32, the 16-bit System, the
// Windows folder), then the absolute folders on PATH. One the system cannot tell is empty.
std::vector<std::u16string> LibrarySearchFolders() {
    std::vector<std::u16string> folders = {ProgramFolder(), SystemFolder(::GetSystemDirectoryW)};
    if (const std::u16string windows = SystemFolder(::GetWindowsDirectoryW); !windows.empty()) {
        folders.insert(folders.end(), {windows + u"\\System", windows});
    }
    const std::u16string path = ReadEnvironmentVariable(u"PATH").value_or(u"");
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find(u';', start), path.size());
        std::u16string_view entry(path.data() + start, end - start);
        if (entry.size() >= 2 && entry.front() == u'"' && entry.back() == u'"') {
            entry = entry.substr(1, entry.size() - 2);
        }
        if (IsAbsolutePath(entry)) folders.emplace_back(entry);
        start = end + 1;
    }
    return folders;
}

// A bare name is loaded by the full path of the first file of that name in the search folders:
// the system's own search would try the working directory before PATH, and a relative or empty
// entry of PATH (".", "Notes", "\Notes") stands for it or its drive. The first file that is
// there and cannot be loaded gives the failure, as when no other file is found after it.
OpenedLibrary SearchLibrary(const std::u16string& name) {
    OpenedLibrary firstFound;
    for (const std::u16string& folder : LibrarySearchFolders()) {
        if (folder.empty()) continue;
        const std::u16string path = folder + (IsSeparator(folder.back()) ? u"" : u"\\") + name;
        const Inspection inspection = InspectFile(ToWide(path));
        if (inspection.state == FileState::missing) continue;
        OpenedLibrary opened = OpenLibraryFile(path, inspection);
        if (opened.handle != nullptr) return opened;
        if (!firstFound.found) firstFound = std::move(opened);
    }
    if (firstFound.found) return firstFound;
    OpenedLibrary opened;
    opened.file = name;
    opened.error = Utf16ToUtf8(name) +
                   ": not found in the program's folder, the system folders or an absolute "
                   "folder on PATH";
    return opened;
}

}  // namespace

void RemoveWorkingDirectoryFromDllSearch() {
    // A DLL directory takes the working directory's place in the search. The program's folder,
    // searched first anyway, adds nothing; an empty one means the same on Windows, but Wine
    // reads it as none set and keeps the working directory.
    const std::u16string program = ProgramFolder();
    ::SetDllDirectoryW(ToWide(program).c_str());
}

bool IsAbsolutePath(std::u16string_view path) {
    if (path.size() >= 3 && path[1] == u':' && IsSeparator(path[2])) {
        const auto drive = static_cast<char16_t>(path[0] | 0x20);
        return drive >= u'a' && drive <= u'z';
    }
    // Not one relative to the working directory's drive either ("\\Notes", "C:Notes").
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

OpenedLibrary OpenSharedLibrary(const std::u16string& file) {
    if (file.find_first_of(u"\\/") == std::u16string::npos) return SearchLibrary(file);
    return OpenLibraryFile(file, InspectFile(ToWide(file)));
}

void* FindLibraryFunction(void* library, const char* name, std::string& error) {
    FARPROC address = ::GetProcAddress(static_cast<HMODULE>(library), name);
    if (address == nullptr) error = SystemErrorText(::GetLastError());
    return reinterpret_cast<void*>(address);
}

std::string LibraryFilePath(void* library, void* /*anyFunction*/) {
    return Utf16ToUtf8(ModuleFilePath(static_cast<HMODULE>(library)));
}

}  // namespace platform
#endif
