// Reading every document entry of a directory view, batch by batch, in view order.
#pragma once

#include "directory/EntryWriter.h"
#include "notes/NotesPlatform.h"

namespace directory {

// Hands the summary of every document entry of view `viewName` (library character set) of
// `database` to `writer`, with `printer`, in view order; category entries are stepped over.
// Returns 0 when every batch was read, else the status of the first failed operation (the
// entries of earlier batches have then been delivered). Holds one entry buffer at a time.
notes::NotesStatus WalkDirectoryView(const char* viewName, EntryWriter writer,
                                     tinyxml2::XMLPrinter& printer, notes::DatabaseHandle database);

}  // namespace directory
