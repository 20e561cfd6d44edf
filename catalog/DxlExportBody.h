// One DXL export into the temporary file, as WriteDxlFile runs it.
#pragma once

#include <functional>

#include "notes/NotesHandleOwner.h"
#include "notes/NotesPlatform.h"

namespace catalog {

using DxlExportBody = std::function<notes::NotesStatus()>;

// What every DXL export of a mode uses: the library's exporter, and the note-open hook that adds
// ReplicaIdText to each note it exports (released first, before the exporter).
struct DxlExportTools {
    notes::DxlExporterOwner exporter;
    notes::HookRegistrationOwner hook;
};

// Creates the exporter, then registers the hook.
notes::NotesStatus PrepareDxlExport(DxlExportTools& tools);

// A body that exports the notes of `idTable` of `database` with `exporter`, streaming the DXL
// into the temporary file; it returns the export's status.
DxlExportBody MakeDxlExportBody(notes::DxlExporterHandle exporter, notes::DatabaseHandle database,
                                notes::IdTableHandle idTable);

}  // namespace catalog
