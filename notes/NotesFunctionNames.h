/* The names of the Notes C API functions the program calls, each declared in NotesCApi.h with its
   reference page: DXL_NOTES_FUNCTIONS(X) applies X to every one. Plain preprocessor, so that the
   C test libraries that stand in for the Notes library export the same names. */
#ifndef DXL_NOTES_FUNCTION_NAMES_H
#define DXL_NOTES_FUNCTION_NAMES_H

#define DXL_NOTES_FUNCTIONS(X)                                                                 \
    X(NotesInitExtended) X(NotesTerm) X(SECKFMSwitchToIDFile) X(OSGetEnvironmentString)        \
    X(OSLoadString) X(OSTranslate) X(ConvertFLOATToText) X(TimeConstant) X(OSLockObject)       \
    X(OSUnlockObject) X(OSMemFree) X(OSMemGetSize) X(OSPathNetConstruct) X(NSFDbOpen)          \
    X(NSFDbClose) X(NSFDbPathGet) X(NSFFormulaCompile) X(NSFSearch) X(IDCreateTable)           \
    X(IDInsert) X(IDEntries) X(IDDestroyTable) X(NSFItemGetTime) X(NSFItemSetText)             \
    X(ListGetNumEntries) X(ListGetText) X(EMCreateRecursionID) X(EMRegister) X(EMDeregister)   \
    X(DXLCreateExporter) X(DXLExportIDTable) X(DXLDeleteExporter) X(NIFFindDesignNoteExt)      \
    X(NIFOpenCollection) X(NIFReadEntries) X(NIFCloseCollection) X(NAMELookup2)                \
    X(NAMELocateNextName2) X(NAMELocateNextMatch2) X(NAMEGetTextItem2) X(DNAbbreviate)         \
    X(LogOpenActivityStream) X(LogEnumActivityStream) X(LogCloseActivityStream)

#endif
