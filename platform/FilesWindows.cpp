#include "platform/Files.h"

#ifdef _WIN32
#include <windows.h>

#include <cstring>

#include "platform/WideChars.h"

namespace platform {

PathKind QueryPathKind(const std::u16string& path) {
    const DWORD attributes = ::GetFileAttributesW(ToWide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::directory : PathKind::other;
}

DeleteResult DeleteFilePath(const std::u16string& path) {
    if (::DeleteFileW(ToWide(path).c_str())) return DeleteResult::deleted;
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? DeleteResult::notFound : DeleteResult::failed;
}

bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to) {
    // MoveFileW never replaces an existing target.
    return ::MoveFileW(ToWide(from).c_str(), ToWide(to).c_str()) != 0;
}

void SleepMilliseconds(unsigned milliseconds) { ::Sleep(milliseconds); }

std::FILE* OpenTextStream(const std::u16string& path, const char* mode) {
    // The C runtime's text mode stores every line feed as CR LF.
    const wchar_t* wideMode = nullptr;
    if (std::strcmp(mode, "a") == 0) {
        wideMode = L"at";
    } else if (std::strcmp(mode, "w") == 0) {
        wideMode = L"wt";
    } else {
        return nullptr;
    }
    return ::_wfopen(ToWide(path).c_str(), wideMode);
}

}  // namespace platform
#endif
