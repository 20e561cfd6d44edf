/* A library that exports the names of the Notes library but one (LogCloseActivityStream), none
   of them usable: the program must refuse it before calling any. Loading it leaves the file
   named by DXL_TEST_LOAD_MARKER, so tests can tell whether the program loaded it at all. */
#include <stdio.h>
#include <stdlib.h>

__attribute__((constructor)) static void MarkLoaded(void) {
    const char* marker = getenv("DXL_TEST_LOAD_MARKER");
    if (marker == NULL) return;
    FILE* file = fopen(marker, "w");
    if (file != NULL) fclose(file);
}

#define UNUSABLE(name) void name(void) { abort(); }
UNUSABLE(NotesInitExtended) UNUSABLE(NotesTerm) UNUSABLE(SECKFMSwitchToIDFile)
UNUSABLE(OSGetEnvironmentString) UNUSABLE(OSLoadString) UNUSABLE(OSTranslate)
UNUSABLE(ConvertFLOATToText) UNUSABLE(TimeConstant) UNUSABLE(OSLockObject)
UNUSABLE(OSUnlockObject) UNUSABLE(OSMemFree) UNUSABLE(OSMemGetSize) UNUSABLE(OSPathNetConstruct)
UNUSABLE(NSFDbOpen)
UNUSABLE(NSFDbClose) UNUSABLE(NSFDbPathGet) UNUSABLE(NSFFormulaCompile) UNUSABLE(NSFSearch)
UNUSABLE(IDCreateTable) UNUSABLE(IDInsert) UNUSABLE(IDEntries) UNUSABLE(IDDestroyTable)
UNUSABLE(NSFItemGetTime) UNUSABLE(NSFItemSetText) UNUSABLE(ListGetNumEntries)
UNUSABLE(ListGetText) UNUSABLE(EMCreateRecursionID) UNUSABLE(EMRegister) UNUSABLE(EMDeregister)
UNUSABLE(DXLCreateExporter) UNUSABLE(DXLExportIDTable) UNUSABLE(DXLDeleteExporter)
UNUSABLE(NIFFindDesignNoteExt) UNUSABLE(NIFOpenCollection) UNUSABLE(NIFReadEntries)
UNUSABLE(NIFCloseCollection) UNUSABLE(NAMELookup2) UNUSABLE(NAMELocateNextName2)
UNUSABLE(NAMELocateNextMatch2) UNUSABLE(NAMEGetTextItem2) UNUSABLE(DNAbbreviate)
UNUSABLE(LogOpenActivityStream) UNUSABLE(LogEnumActivityStream)
