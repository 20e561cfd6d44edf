// The -catalog mode: the server's "Notefile" documents of catalog.nsf into catalog.dxl.
#pragma once

#include "notes/NotesPlatform.h"

namespace catalog {

notes::NotesStatus ExportServerCatalog();

}  // namespace catalog
