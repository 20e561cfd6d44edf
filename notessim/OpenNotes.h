// Notes the runtime opens: each open is a copy of its own, with a note handle, handed to the
// registered note-open hooks; what a hook changes stays in that copy.
#pragma once

#include "notes/NotesPlatform.h"
#include "notessim/Database.h"
#include "notessim/Handles.h"

namespace notessim {

struct OpenNoteObject : HandleObject {
    notes::DatabaseHandle database = 0;
    SimNote note;
};

OpenNoteObject* FindOpenNote(notes::NoteHandle handle, const char* operation);

// Opens a copy of `note` and calls the note-open hooks. When a hook fails the open, the copy is
// closed again and the hook's status returned.
notes::NotesStatus OpenNoteCopy(notes::DatabaseHandle database, const SimNote& note,
                                notes::NoteHandle& handle);
void CloseNoteCopy(notes::NoteHandle handle);

// Calls every registered note-open hook, in registration order, for a note just opened.
// 725 from a hook passes on to the next one; 0 ends the calls with success; any other status
// fails the open with that status.
notes::NotesStatus NotifyNoteOpened(notes::DatabaseHandle database, notes::NoteId id,
                                    notes::NoteHandle note);

}  // namespace notessim
