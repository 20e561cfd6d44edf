#include "catalog/ServerCatalogExport.h"
#include "catalog/FullCatalogExport.h"
#include "notes/NotesStatuses.h"

namespace catalog {
// Placeholder until the catalog modes land.
notes::NotesStatus ExportServerCatalog() { return notes::kStatusIoError; }
notes::NotesStatus ExportFullCatalog() { return notes::kStatusIoError; }
}  // namespace catalog
