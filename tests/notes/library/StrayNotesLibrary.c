/* A library with the Notes library's functions that hands back what the binding must refuse or
   step over: a handle written wider than documented, match counts past 16 bits, note-open
   records of another event, without a record or without the opened note. The functions the
   tests do not reach abort. */
#include <stdarg.h>
#include <stdint.h>
#include <stdlib.h>

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

#define UNUSABLE(name) void name(void) { abort(); }
UNUSABLE(NotesInitExtended) UNUSABLE(NotesTerm) UNUSABLE(SECKFMSwitchToIDFile)
UNUSABLE(OSGetEnvironmentString) UNUSABLE(OSLoadString) UNUSABLE(OSTranslate)
UNUSABLE(ConvertFLOATToText) UNUSABLE(TimeConstant) UNUSABLE(OSLockObject)
UNUSABLE(OSUnlockObject) UNUSABLE(OSMemFree) UNUSABLE(OSMemGetSize) UNUSABLE(OSPathNetConstruct)
UNUSABLE(NSFDbOpen)
UNUSABLE(NSFDbClose) UNUSABLE(NSFDbPathGet) UNUSABLE(NSFFormulaCompile) UNUSABLE(NSFSearch)
UNUSABLE(IDInsert) UNUSABLE(IDEntries) UNUSABLE(IDDestroyTable)
UNUSABLE(NSFItemGetTime) UNUSABLE(NSFItemSetText) UNUSABLE(ListGetNumEntries)
UNUSABLE(ListGetText) UNUSABLE(EMCreateRecursionID)
UNUSABLE(DXLCreateExporter) UNUSABLE(DXLExportIDTable) UNUSABLE(DXLDeleteExporter)
UNUSABLE(NIFFindDesignNoteExt) UNUSABLE(NIFOpenCollection) UNUSABLE(NIFReadEntries)
UNUSABLE(NIFCloseCollection) UNUSABLE(NAMELookup2)
UNUSABLE(NAMELocateNextMatch2) UNUSABLE(NAMEGetTextItem2) UNUSABLE(DNAbbreviate)
UNUSABLE(LogOpenActivityStream) UNUSABLE(LogEnumActivityStream) UNUSABLE(LogCloseActivityStream)
