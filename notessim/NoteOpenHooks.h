// Note-open hooks of any calling shape: the team's HookHandler, or a C API EMHANDLER behind the
// look-alike library, each registration with its own handler.
#pragma once

#include <cstdint>
#include <functional>

#include "notes/NotesPlatform.h"

namespace notessim {

// The arguments of the note open that a hook is told about, in the order of the extension
// manager's argument list.
struct NoteOpenArguments {
    notes::DatabaseHandle database = 0;
    notes::NoteId id = 0;
    std::uint16_t openFlags = 0;
    notes::NoteHandle* note = nullptr;  // points to a handle that was never set when status != 0
    notes::NotesStatus status = 0;      // the open's result
};

using NoteOpenHook = std::function<notes::NotesStatus(const NoteOpenArguments&)>;

// RegisterNoteOpenHook for a hook of any shape: the same checks, fault point and bookkeeping.
// An empty hook is refused as a null handler is.
notes::NotesStatus RegisterNoteOpenFunction(std::uint16_t event, std::uint16_t when,
                                            NoteOpenHook hook, notes::HookRecursionId recursionId,
                                            notes::HookRegistration* registration);

}  // namespace notessim
