// File operations of the platform, on UTF-16 paths.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

constexpr char16_t kPathSeparator =
#ifdef _WIN32
    u'\\';
#else
    u'/';
#endif

enum class PathKind { missing, directory, other };
PathKind QueryPathKind(const std::u16string& path);

enum class DeleteResult { deleted, notFound, failed };
DeleteResult DeleteFilePath(const std::u16string& path);

// Moves `from` to `to`; fails, and changes nothing, when `to` exists.
bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to);

void SleepMilliseconds(unsigned milliseconds);

// A C stream in text mode: every line feed written reaches the file as CR LF, on every platform.
// `mode` is "w" (create or empty) or "a" (append, create if absent). Null when it cannot be opened.
std::FILE* OpenTextStream(const std::u16string& path, const char* mode);

}  // namespace platform
