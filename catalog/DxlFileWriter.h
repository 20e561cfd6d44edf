// A DXL export into a file of the output directory: through the temporary file, which reaches
// the final name only when the export succeeded and was written in full.
#pragma once

#include <string_view>

#include "catalog/DxlExportBody.h"
#include "notes/NotesPlatform.h"

namespace catalog {

// 0; the body's status; kStatusFileExists (260) when the temporary file cannot be removed,
// kStatusIoError (270) when a chunk could not be written, kStatusCannotCreateFile (264) when the
// file cannot be moved to `fileName` (an existing file stays).
notes::NotesStatus WriteDxlFile(const DxlExportBody& body, std::u16string_view fileName);

// The wait between two attempts to delete or move: the platform's sleep, replaceable by tests.
using RetryWaitFunction = void (*)(unsigned milliseconds);
RetryWaitFunction& RetryWait();

}  // namespace catalog
