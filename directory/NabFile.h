// Putting the finished directory document in place as nab.xml.
#pragma once

#include "notes/NotesPlatform.h"
#include "platform/OutputFile.h"

namespace directory {

// Copies `document` (an anonymous binary file with LF line ends) into "nab.xml.tmp" in the output
// directory as a text file (LF becomes CR LF), then puts that file in place of "nab.xml" in one
// step. On any failure the staging file is removed and an older "nab.xml" stays whole:
// kStatusCannotCreateFile (264) when a file cannot be created or moved into place,
// kStatusIoError (270) when the copy fails.
notes::NotesStatus PublishNabFile(platform::OutputFile& document);

}  // namespace directory
