// Gathering the names of the known servers and writing them, sorted and unique.
#pragma once

#include <cstdio>

#include "notes/NotesPlatform.h"

namespace directory {

// The mail server of the Notes environment, the destinations of the local connection documents and
// the servers of the mail server's directory, abbreviated, in byte order, each once, one a line.
// Nothing is written unless every lookup succeeded; a failed write gives kStatusIoError (270).
notes::NotesStatus CollectServerNames(std::FILE* output);

}  // namespace directory
