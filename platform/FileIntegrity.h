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

// Cuts the regular file `path` to the length `keptLength` gives for its content.
bool CutRegularFile(const std::u16string& path, std::size_t (*keptLength)(std::string_view content));

}  // namespace platform
