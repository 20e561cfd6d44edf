// The stream callback of the DXL exports: appends each chunk to the temporary file.
#pragma once

#include <cstdint>

#include "platform/Files.h"

namespace catalog {

// The one temporary file of the DXL exports, in the output directory.
inline constexpr char16_t kDxlTemporaryFileName[] = u"temp.tmp";

// Set when a chunk could not be stored in full; later chunks of the export are then dropped.
// Cleared by WriteDxlFile before each export.
extern bool dxlWriteFailed;

// The temporary file as the export's first chunk created it, and the bytes stored in it since.
// Every later chunk goes into that same file only. Reset by WriteDxlFile before each export.
struct DxlTemporaryFile {
    bool created = false;
    platform::FileIdentity identity;
    std::uint64_t size = 0;
};
extern DxlTemporaryFile dxlTemporaryFile;

// `context` is the bare temporary file name (wide text). The file is opened, appended to in
// text mode and closed for every chunk.
void AppendDxlChunk(const unsigned char* data, std::uint32_t length, void* context);

}  // namespace catalog
