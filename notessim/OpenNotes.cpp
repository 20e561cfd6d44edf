#include "notessim/OpenNotes.h"

#include <memory>

namespace notessim {

OpenNoteObject* FindOpenNote(notes::NoteHandle handle, const char* operation) {
    return FindHandleAs<OpenNoteObject>(HandleKind::note, handle, operation);
}

notes::NotesStatus OpenNoteCopy(notes::DatabaseHandle database, const SimNote& note,
                                notes::NoteHandle& handle) {
    auto copy = std::make_unique<OpenNoteObject>();
    copy->database = database;
    copy->note = note;
    const notes::NoteHandle opened = RegisterHandle(HandleKind::note, std::move(copy));
    if (const notes::NotesStatus status = NotifyNoteOpened(database, note.id, opened);
        status != 0) {
        CloseNoteCopy(opened);
        return status;
    }
    handle = opened;
    return 0;
}

void CloseNoteCopy(notes::NoteHandle handle) {
    ReleaseHandle(HandleKind::note, handle, "CloseNote");
}

}  // namespace notessim
