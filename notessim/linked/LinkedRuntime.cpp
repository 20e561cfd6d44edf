// Links the simulated runtime's C functions into the program's function table before main, so
// that a test, benchmark or fuzz target runs the program's own Notes operations over it, as the
// shipped program runs them over the library it loads.
#include "notes/NotesLibrary.h"

namespace {

bool UseLinkedRuntime() {
    notes::binding::NotesFunctions functions;
#define DXL_LINKED_FUNCTION(name) functions.name = &::name;
    DXL_NOTES_FUNCTIONS(DXL_LINKED_FUNCTION)
#undef DXL_LINKED_FUNCTION
    notes::binding::UseLinkedFunctions(functions);
    return true;
}

[[maybe_unused]] const bool linkedRuntimeInUse = UseLinkedRuntime();

}  // namespace
