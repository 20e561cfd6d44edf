// Checking, syncing and repairing a file this run wrote, by path, without following links.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Files.h"

namespace platform {

// The bytes that `text`, written to a text stream, takes in the file: each line feed takes two.
std::uint64_t TextStreamBytes(std::string_view text);

// True when `path` is still the regular file `identity` with exactly `size` bytes; its data are
// then on the disk, so that a power cut after it is moved into place cannot leave it empty.
bool SyncFileIfUnchanged(const std::u16string& path, const FileIdentity& identity,
                         std::uint64_t size);

// A scan for the end of a file's last complete line, fed the file piece by piece so that a file
// of any size is scanned in bounded memory.
struct CompleteLineScan {
    std::uint64_t scanned = 0;  // bytes of the pieces before the current one
    std::uint64_t kept = 0;     // the length to keep: up to the end of the last complete line
    bool quoted = false;        // state a scanner carries over from one piece to the next
};
using CompleteLineScanner = void (*)(CompleteLineScan& scan, std::string_view piece);

// Up to the last line feed: the scanner of files whose lines cannot hold one.
void ScanCompleteLines(CompleteLineScan& scan, std::string_view piece);

// Cuts the regular file `path` to the length `scanner` finds in its content.
bool CutRegularFile(const std::u16string& path, CompleteLineScanner scanner);

}  // namespace platform
