// File operations of the platform, on UTF-16 paths.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/SystemFailure.h"

namespace platform {

constexpr char16_t kPathSeparator =
#ifdef _WIN32
    u'\\';
#else
    u'/';
#endif

enum class PathKind { missing, directory, other };
PathKind QueryPathKind(const std::u16string& path);

// `failure`, when given, receives the system's reason for a failure, here and below.
enum class DeleteResult { deleted, notFound, failed };
DeleteResult DeleteFilePath(const std::u16string& path, SystemFailure* failure = nullptr);

// Moves `from` to `to`; fails, and changes nothing, when `to` exists. True once `to` names the
// file: when `from` could not be removed after that (the file then has both names), `leftover`
// receives the reason.
bool MoveFileNoReplace(const std::u16string& from, const std::u16string& to,
                       SystemFailure* failure = nullptr, SystemFailure* leftover = nullptr);

void SleepMilliseconds(unsigned milliseconds);

// Which file a path named when it was opened: the same identity means the same file, whatever
// was renamed or replaced since.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// True when files can be created in `folder` and the file `path` can be appended to: it is absent,
// or a regular file (not a link) open to writing.
bool CanWriteFileIn(const std::u16string& folder, const std::u16string& path);

}  // namespace platform
