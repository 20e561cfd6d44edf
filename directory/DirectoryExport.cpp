#include "directory/DirectoryExport.h"
#include "directory/ServerListExport.h"
#include "notes/NotesStatuses.h"

namespace directory {
// Placeholder until the directory modes land.
notes::NotesStatus ExportDirectory() { return notes::kStatusIoError; }
void ExportServerList() {}
notes::NotesStatus CollectServerNames(std::FILE*) { return notes::kStatusIoError; }
}  // namespace directory
