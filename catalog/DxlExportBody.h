// One DXL export into the temporary file, as WriteDxlFile runs it.
#pragma once

#include <functional>

#include "notes/NotesPlatform.h"

namespace catalog {

using DxlExportBody = std::function<notes::NotesStatus()>;

// A body that exports the notes of `idTable` of `database` with `exporter`, streaming the DXL
// into the temporary file; it returns the export's status.
DxlExportBody MakeDxlExportBody(notes::DxlExporterHandle exporter, notes::DatabaseHandle database,
                                notes::IdTableHandle idTable);

}  // namespace catalog
