// The stream callback of the DXL exports: appends each chunk to the temporary file.
#pragma once

#include <cstdint>

#include "platform/OutputFile.h"

namespace catalog {

// The one temporary file of the DXL exports, in the output directory.
inline constexpr char16_t kDxlTemporaryFileName[] = u"temp.tmp";

// Set when a chunk could not be stored in full; later chunks of the export are then dropped.
// Cleared by WriteDxlFile before each export.
extern bool dxlWriteFailed;

// The temporary file of the export under way: the first chunk creates it, every later one goes
// into that same file only, and what the chunks stored is counted. WriteDxlFile starts it anew
// before each export.
platform::StagingFile& DxlTemporaryFile();

// `context` is the bare temporary file name (wide text). The file is opened, appended to in
// text mode and closed for every chunk.
void AppendDxlChunk(const unsigned char* data, std::uint32_t length, void* context);

}  // namespace catalog
