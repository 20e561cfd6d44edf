/* A library that exports the names of the Notes library but one (LogCloseActivityStream), none
   of them usable: the program must refuse it before calling any. Loading it leaves the file
   named by DXL_TEST_LOAD_MARKER, so tests can tell whether the program loaded it at all. */
#include <stdio.h>
#include <stdlib.h>

#include "notes/NotesFunctionNames.h"

__attribute__((constructor)) static void MarkLoaded(void) {
    const char* marker = getenv("DXL_TEST_LOAD_MARKER");
    if (marker == NULL) return;
    FILE* file = fopen(marker, "w");
    if (file != NULL) fclose(file);
}

#define UNUSABLE(name) void name(void) { abort(); }
#define LogCloseActivityStream LeftOut_LogCloseActivityStream
DXL_NOTES_FUNCTIONS(UNUSABLE)
