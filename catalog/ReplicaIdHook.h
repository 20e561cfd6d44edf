// The note-open hook that gives every opened note a text item "ReplicaIdText" with its replica
// ID as 16 hexadecimal digits, so that the item travels into the DXL.
#pragma once

#include <array>

#include "notes/NotesHandleOwner.h"
#include "notes/NotesPlatform.h"

namespace catalog {

// The high word, then the low word, each as 8 uppercase hexadecimal digits; NUL-terminated.
std::array<char, 17> FormatReplicaIdText(const notes::TimeDate& replicaId);

// The hook handler; always lets the open go on (kHookContinue, the library's ERR_EM_CONTINUE). It
// touches the note only when called after an open that succeeded.
notes::NotesStatus AddReplicaIdText(const void* notification);

// How many times the handler was called since the last registration.
unsigned ReplicaIdHookCalls();

// Registers AddReplicaIdText for the time after each note open.
notes::NotesStatus RegisterReplicaIdHook(notes::HookRegistrationOwner& registration);

}  // namespace catalog
