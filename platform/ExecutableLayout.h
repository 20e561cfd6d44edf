// Whether the parts of an executable file (a library above all) that its loader maps lie inside
// the file. A loader maps a library's bytes from its file; a file cut short leaves part of that
// mapping without bytes behind it, and the first access ends the process (SIGBUS on Linux)
// before the loader could report anything.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// Up to `size` bytes of the file from byte `offset`: fewer only where the file ends or cannot
// be read.
using FileBytes = std::function<std::string(std::uint64_t offset, std::size_t size)>;

// For an ELF file of `fileSize` bytes, read through `read`: why it cannot be loaded whole (its
// ELF header, its program headers or a loaded segment lies past its end, or its program headers
// are not of its class's size), e.g. "file cut short: a loaded segment needs 16976 bytes from
// byte 0, the file has 3000 bytes". Empty when all lie inside it, and for a file that is not
// ELF or whose class or byte order is unknown (its loader says why it is no library).
std::string ElfCutShortReason(std::uint64_t fileSize, const FileBytes& read);

// The same for a PE file: its section headers and every section's raw data must lie inside
// it. Empty for a file that is not PE.
std::string PeCutShortReason(std::uint64_t fileSize, const FileBytes& read);

}  // namespace platform
