// The one Notes session of a run: start the runtime, switch to the chosen ID, end the runtime.
#pragma once

#include "notes/NotesPlatform.h"

namespace driver {

// Starts the runtime with the program path and every "=" argument of the process, in order.
notes::NotesStatus StartNotesSession();
// Switches to `idFile` when both it and `password` are set; 0 without doing anything otherwise.
notes::NotesStatus SwitchUserId();
void EndNotesSession();

// Starts the session and switches the ID, writing the run-log line for a failure. True when the
// caller's work may run; the caller then calls EndNotesSession. A failed switch ends the session.
bool EnterNotesSession();

}  // namespace driver
