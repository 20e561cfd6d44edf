// The -servers mode: the servers the Notes environment knows of, sorted and unique, into
// servers.txt.
#pragma once

#include <cstdio>

#include "notes/NotesPlatform.h"

namespace directory {

void ExportServerList();
notes::NotesStatus CollectServerNames(std::FILE* output);

}  // namespace directory
