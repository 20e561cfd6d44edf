// The XML document of people and servers, streamed through the printer as the views are read.
#pragma once

#include "notes/NotesPlatform.h"

namespace tinyxml2 {
class XMLPrinter;
}

namespace directory {

// Writes the declaration and <nab> with the "($People)" and "($Servers)" entries of `database`.
// A failed walk stops the document there and returns its status.
notes::NotesStatus WriteDirectoryDocument(tinyxml2::XMLPrinter& printer,
                                          notes::DatabaseHandle database);

}  // namespace directory
