// The system's side of the output files (OutputFile.cpp on POSIX, OutputFileWindows.cpp on
// Windows): only platform/OutputFile.cpp calls these.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/OutputFile.h"

namespace platform {

// The text stream of `path` opened as `mode` says, or null; `identity` receives the file's.
std::FILE* OpenTextStream(const std::u16string& path, OpenMode mode, FileIdentity& identity,
                          SystemFailure* failure);
std::FILE* OpenAnonymousStream();

// True when `path` is still the regular file `identity` with exactly `size` bytes; its data are
// then on the disk, so that a power cut after it is moved into place cannot leave it empty.
bool SyncFileIfUnchanged(const std::u16string& path, const FileIdentity& identity,
                         std::uint64_t size);

// The length of a file's whole lines (or rows), found from its content piece by piece, so that a
// file of any size is scanned in bounded memory.
struct WholeLineScan {
    LineEnds ends;
    std::uint64_t scanned = 0;  // bytes of the pieces before the current one
    std::uint64_t kept = 0;     // up to the end of the last whole line
    bool quoted = false;        // inside a quoted field at the end of the last piece
    void Scan(std::string_view piece);
};
// Cuts the regular file `path` to its whole lines.
bool CutToWholeLines(const std::u16string& path, LineEnds ends);

// Renames `from` to `to` (both in one folder), replacing a file `to` at once.
bool RenameReplacing(const std::u16string& from, const std::u16string& to);

}  // namespace platform
