// Selecting notes of a database by formula into an ID table.
#pragma once

#include <string_view>

#include "notes/NotesHandleOwner.h"
#include "notes/NotesPlatform.h"

namespace catalog {

struct NoteSelection {
    notes::MemoryOwner formula;
    notes::MemoryOwner idTable;  // declared last: released before the formula
};

// The search callback: inserts the match's note ID into the ID table whose handle `context`
// points to, and returns the insert's status.
notes::NotesStatus CollectNoteId(void* context, const void* match, const void* summary);

// Compiles `formulaText` (library character set), creates the ID table and searches the
// documents of `database`. On failure the selection holds nothing; after a failed search the
// ID table has been destroyed and the formula freed.
notes::NotesStatus CollectNotes(notes::DatabaseHandle database, std::string_view formulaText,
                                NoteSelection& selection);

}  // namespace catalog
