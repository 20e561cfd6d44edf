// The -nab mode: people and servers of names.nsf into nab.xml.
#pragma once

#include "notes/NotesPlatform.h"

namespace directory {

notes::NotesStatus ExportDirectory();

}  // namespace directory
