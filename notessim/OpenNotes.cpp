#include "notessim/OpenNotes.h"

#include <memory>
#include <optional>

#include "notessim/Faults.h"
#include "notessim/Statuses.h"

namespace notessim {

OpenNoteObject* FindOpenNote(DHANDLE handle, const char* operation) {
    return FindHandleAs<OpenNoteObject>(HandleKind::note, handle, operation);
}

STATUS OpenNoteCopy(DHANDLE database, const SimNote& note, DHANDLE& handle, bool callHooks) {
    static FaultPoint failedOpen("OpenNote");
    std::optional<STATUS> failure = failedOpen.Take();
    if (!failure && note.unreadable) failure = kStatusNoteUnreadable;
    if (failure) {
        // A hook cannot turn a failed open into one that gives a note.
        const STATUS status =
            callHooks ? NotifyNoteOpened(database, note.id, kUnsetNoteHandle, *failure) : 0;
        return status != 0 ? status : *failure;
    }
    auto copy = std::make_unique<OpenNoteObject>();
    copy->database = database;
    copy->note = note;
    const DHANDLE opened = RegisterHandle(HandleKind::note, std::move(copy));
    if (const STATUS status = callHooks ? NotifyNoteOpened(database, note.id, opened) : 0;
        status != 0) {
        CloseNoteCopy(opened);
        return status;
    }
    handle = opened;
    return 0;
}

void CloseNoteCopy(DHANDLE handle) { ReleaseHandle(HandleKind::note, handle, "CloseNote"); }

}  // namespace notessim
