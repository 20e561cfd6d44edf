/* A library with the Notes library's functions that hands back what the binding must refuse or
   step over: a handle written wider than documented, match counts past 16 bits, note-open
   records of another event, without a record or without the opened note. The functions the
   tests do not reach abort. */
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>

#include "notes/NotesFunctionNames.h"

typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef WORD STATUS;

typedef struct {
    WORD EId;
    WORD NotificationType;
    STATUS Status;
    va_list Ap;
} EMRECORD;
typedef STATUS (*EMHANDLER)(EMRECORD*);

/* IDCreateTable writes the 64-bit value *(uint64_t*)alignment-th entry of this table. */
static const uint64_t kTableHandles[] = {0xFFFFFFFFu, 0x100000000u, 0x8000000000000000u};

STATUS IDCreateTable(DWORD alignment, void* table) {
    *(uint64_t*)table = kTableHandles[alignment];
    return 0;
}

/* The lookup buffer the test hands in is the match count to report. */
void* NAMELocateNextName2(void* lookup, void* previous, DWORD* count) {
    (void)previous;
    *count = *(const DWORD*)lookup;
    return lookup;
}

static STATUS Notify(EMHANDLER handler, int event, ...) {
    EMRECORD record;
    record.EId = (WORD)event;
    record.NotificationType = 1; /* EM_AFTER */
    record.Status = 0;
    va_start(record.Ap, event);
    const STATUS status = handler(&record);
    va_end(record.Ap);
    return status;
}

/* Calls the handler at once: no record, another event, no opened note, then note 42. */
STATUS EMRegister(WORD event, DWORD flags, EMHANDLER handler, WORD recursion, DWORD* registered) {
    (void)flags;
    static DWORD note = 42;
    handler(NULL);
    Notify(handler, event + 1, 7u, 8u, 0, &note);
    Notify(handler, event, 7u, 8u, 0, (DWORD*)NULL);
    Notify(handler, event, 7u, 8u, 0, &note);
    *registered = recursion;
    return 0;
}

STATUS EMDeregister(DWORD registration) {
    (void)registration;
    return 0;
}

/* Every other function aborts; those defined above are left out under names of their own. */
#define UNUSABLE(name) void name(void) { abort(); }
#define IDCreateTable Defined_IDCreateTable
#define NAMELocateNextName2 Defined_NAMELocateNextName2
#define EMRegister Defined_EMRegister
#define EMDeregister Defined_EMDeregister
DXL_NOTES_FUNCTIONS(UNUSABLE)
