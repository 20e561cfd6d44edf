// Notes the runtime opens: each open is a copy of its own, with a note handle, handed to the
// registered note-open hooks; what a hook changes stays in that copy.
#pragma once

#include "notessim/CTypes.h"
#include "notessim/Database.h"
#include "notessim/Handles.h"

namespace notessim {

struct OpenNoteObject : HandleObject {
    DHANDLE database = 0;
    SimNote note;
};

OpenNoteObject* FindOpenNote(DHANDLE handle, const char* operation);

// Opens a copy of `note` and calls the note-open hooks. When a hook fails the open, the copy is
// closed again and the hook's status returned. A note that cannot be opened (an unreadable one, or
// the fault point "OpenNote") calls the hooks with that status and a note handle that was never
// set, and fails with the status unless a hook returns another. Without `callHooks` no hook is
// called.
STATUS OpenNoteCopy(DHANDLE database, const SimNote& note, DHANDLE& handle, bool callHooks = true);
void CloseNoteCopy(DHANDLE handle);

// A note handle no open ever gives: what a hook finds after an open that failed.
constexpr DHANDLE kUnsetNoteHandle = 0xCCCCCCCCu;

// Calls every registered note-open hook, in registration order, after an open whose result is
// `openStatus`. ERR_EM_CONTINUE from a hook (flag bits aside) passes on to the next one, and the
// result is the open's; any other status ends the calls and becomes the result.
STATUS NotifyNoteOpened(DHANDLE database, NOTEID id, DHANDLE note, STATUS openStatus = 0);

}  // namespace notessim
