// The -brenvik mode: "cDb" and "cUser" documents into catalog.dxl, the single "anonMap"
// document into anonMap.dxl.
#pragma once

#include "notes/NotesPlatform.h"

namespace catalog {

notes::NotesStatus ExportFullCatalog();

}  // namespace catalog
