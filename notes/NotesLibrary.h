// The Notes library the program runs against, loaded at run time, and its resolved functions.
#pragma once

#include <string>
#include <vector>

#include "notes/NotesCApi.h"
#include "notes/WidthBridge.h"

namespace notes::binding {

struct NotesFunctions {
#define DXL_NOTES_FUNCTION_SLOT(name) decltype(&::name) name = nullptr;
    DXL_NOTES_FUNCTIONS(DXL_NOTES_FUNCTION_SLOT)
#undef DXL_NOTES_FUNCTION_SLOT
};

// The functions of the loaded library. Only called after a successful LoadNotesLibrary: the
// driver loads the library before it starts the Notes session.
const NotesFunctions& Api();
bool NotesLibraryLoaded();

// Runs the program against functions linked into it instead of a library it loads (the tests'
// simulated runtime): LoadNotesLibrary then finds them, with no file. Every one must be set.
void UseLinkedFunctions(const NotesFunctions& functions);

// `status`, the result of the library's `function`; a failure goes to the reporter, if one is set.
notesapi::STATUS Checked(const char* function, notesapi::STATUS status);

// Checked(function, status), then after a success the handle or the value the call handed back,
// delivered into `target` (DeliverHandle, Deliver).
template <typename T, typename Target>
NotesStatus CheckedHandle(const char* function, notesapi::STATUS status,
                          const Received<T>& received, Target* target) {
    if (const NotesStatus checked = Checked(function, status); checked != 0) return checked;
    return DeliverHandle(received, target);
}
template <typename T, typename Target>
NotesStatus CheckedValue(const char* function, notesapi::STATUS status,
                         const Received<T>& received, Target* target) {
    if (const NotesStatus checked = Checked(function, status); checked != 0) return checked;
    return Deliver(received, target);
}

// The files to try, in order: the file named by DXL_NOTES_LIBRARY alone when it is set; else on
// Windows the library in the Notes program directory the registry names, then by its name as
// the program searches for it (never in the working directory); on POSIX the library by its
// name as the loader searches for it, then in Notes_ExecDirectory when that is absolute.
std::vector<std::u16string> NotesLibraryCandidates();

}  // namespace notes::binding
