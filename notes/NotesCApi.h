// The functions of the Notes C API library (nnotes.dll, libnotes.so) that the program calls, each
// declared once from its documented prototype, with the types, widths, calling conventions and
// record layouts the library uses. The program never links these names: it resolves them from the
// library at run time (notes/NotesLibrary.h). The simulated runtime (notessim/) defines them.
// References in brackets are pages of the C API reference (Func/, Data/, Symb/ folders).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#include "notes/NotesFunctionNames.h"  // DXL_NOTES_FUNCTIONS: every function declared here

// Every function and callback is __stdcall on 32-bit Windows, like the Windows API; elsewhere the
// platform's one convention applies [Symb/LNPUBLIC, Data/LNCALLBACK].
#if defined(_WIN32) && !defined(_WIN64)
#define LNPUBLIC __stdcall
#define LNCALLBACK __stdcall
#define DXL_NOTES_WIN32 1
#else
#define LNPUBLIC
#define LNCALLBACK
#define DXL_NOTES_WIN32 0
#endif

// The simulated runtime, built with DXL_NOTES_LOOKALIKE, exports these names; the program only
// declares them.
#if defined(DXL_NOTES_LOOKALIKE) && defined(_WIN32)
#define DXL_NOTES_API extern "C" __declspec(dllexport)
#elif defined(DXL_NOTES_LOOKALIKE)
#define DXL_NOTES_API extern "C" __attribute__((visibility("default")))
#else
#define DXL_NOTES_API extern "C"
#endif

namespace notesapi {

using WORD = std::uint16_t;    // [Data/WORD]
using DWORD = std::uint32_t;   // [Data/DWORD]
using BYTE = std::uint8_t;
using STATUS = WORD;           // [Data/STATUS]
using BOOL = int;              // FALSE 0, TRUE not 0; an int on Windows [Data/BOOL]
using NOTEID = DWORD;          // [Data/NOTEID]
using NUMBER = double;         // [Data/NUMBER]
// Handles stay 32 bits wide on 64-bit platforms unless HANDLE_IS_64BITS is set
// [Data/DHANDLE, user guide: Porting 32bit Domino applications to 64bit]. The binding receives
// them in zeroed 8-byte temporaries and refuses a value with a non-zero high half.
using DHANDLE = std::uint32_t;
using DBHANDLE = DHANDLE;      // [Data/DBHANDLE]
using NOTEHANDLE = DHANDLE;    // [Data/NOTEHANDLE]
using FORMULAHANDLE = DHANDLE; // [Data/FORMULAHANDLE]
using MEMHANDLE = DWORD;       // [Data/MEMHANDLE]
using DXLEXPORTHANDLE = MEMHANDLE;  // [Data/DXLEXPORTHANDLE]
using HCOLLECTION = WORD;      // [Data/HCOLLECTION]
using EID = WORD;              // [Data/EID]
using HEMREGISTRATION = DWORD; // [Data/HEMREGISTRATION]
// A module handle: the system's on Windows, the toolkit's WHANDLE, an unsigned int, elsewhere
// (global.h); OSLoadString takes NULLHANDLE for the library's own strings [Func/OSLoadString].
#ifdef _WIN32
using HMODULE = void*;
#else
using WHANDLE = unsigned int;
using HMODULE = WHANDLE;
#endif
using VARARG_PTR = va_list;    // char* on 32-bit Windows, va_list elsewhere [Data/VARARG_PTR]

constexpr STATUS NOERROR = 0;
constexpr STATUS ERR_MASK = 0x3FFF;         // the top two bits are flags [Symb/STS_xxx]
constexpr EID EM_NSFNOTEOPEN = 5;           // [Symb/EM_xxx]
constexpr DWORD EM_REG_BEFORE = 0x0001;     // registration flags [Func/EMRegister]
constexpr DWORD EM_REG_AFTER = 0x0002;
constexpr WORD EM_BEFORE = 0;               // EMRECORD.NotificationType [Symb/EM_BEFORE, EM_AFTER];
constexpr WORD EM_AFTER = 1;                // values from the toolkit's extmgr.h
constexpr STATUS ERR_EM_CONTINUE = 725;     // value not in the reference
constexpr BYTE SE_FMATCH = 0x01;            // value not in the reference
constexpr WORD TIMEDATE_MINIMUM = 0;        // values not in the reference [Symb/TIMEDATE_xxx]
constexpr WORD TIMEDATE_MAXIMUM = 1;
constexpr std::size_t MAXPATH = 256;        // includes the NUL [Symb/MAXPATH]
constexpr WORD TYPE_TEXT = 0x0500;          // item data types [Symb/TYPE_xxx]
constexpr WORD TYPE_TEXT_LIST = 0x0501;
constexpr WORD TYPE_NUMBER = 0x0300;
constexpr WORD TYPE_TIME = 0x0400;
constexpr NOTEID NOTEID_CATEGORY = 0x80000000u;     // [Symb/NOTEID_CATEGORYxxx]
constexpr WORD SIGNAL_MORE_TO_DO = 0x0020;          // [Symb/SIGNAL_xxx]
constexpr WORD OS_TRANSLATE_LMBCS_TO_UNICODE = 20;  // OSTranslate modes [Symb/OS_TRANSLATE_xxx]
constexpr WORD OS_TRANSLATE_LMBCS_TO_UTF8 = 22;
constexpr WORD OS_TRANSLATE_UNICODE_TO_LMBCS = 23;

// Structures passed to and from the library: 1-byte packed on 32-bit Windows, naturally aligned
// elsewhere [user guide: Building Windows Applications, Domino Canonical Format].
#if DXL_NOTES_WIN32
#pragma pack(push, 1)
#endif

struct TIMEDATE {  // [Data/TIMEDATE]: Innards[0] ticks, Innards[1] date and zone
    DWORD Innards[2];
};

struct TIMEDATE_PAIR {  // [Data/TIMEDATE_PAIR]
    TIMEDATE Lower;
    TIMEDATE Upper;
};

struct UNID {  // [Data/UNID]
    TIMEDATE File;
    TIMEDATE Note;
};

struct COLLECTIONPOSITION {  // [Data/COLLECTIONPOSITION]; MAXTUMBLERLEVELS taken as 32
    WORD Level;
    BYTE MinLevel;
    BYTE MaxLevel;
    DWORD Tumbler[32];
};

struct ACTIVITYSTREAMPOSITION {  // [Data/ACTIVITYSTREAMPOSITION]
    NOTEID NoteID;
    DWORD RecordPos;
};

// The record an extension-manager handler receives [Data/EMRECORD]. Ap holds the event's
// arguments; for EM_NSFNOTEOPEN those of NSFNoteOpen: (DBHANDLE, NOTEID, WORD, NOTEHANDLE*)
// [Data/EMHANDLER, Func/NSFNoteOpen].
struct EMRECORD {
    EID EId;
    WORD NotificationType;
    STATUS Status;
    VARARG_PTR Ap;
};

#if DXL_NOTES_WIN32
#pragma pack(pop)
#endif

// Where the binding and the simulated runtime both expect each field. GCC counts a record holding
// the compiler's own va_list type as not standard-layout; its offsets are fixed all the same.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(TIMEDATE) == 8 && sizeof(TIMEDATE_PAIR) == 16 && sizeof(UNID) == 16);
static_assert(offsetof(COLLECTIONPOSITION, Tumbler) == 4 && sizeof(COLLECTIONPOSITION) == 132);
static_assert(sizeof(ACTIVITYSTREAMPOSITION) == 8);
static_assert(offsetof(EMRECORD, Status) == 4);
#if DXL_NOTES_WIN32
static_assert(offsetof(EMRECORD, Ap) == 6 && sizeof(EMRECORD) == 10 && sizeof(VARARG_PTR) == 4);
#elif defined(_WIN64)
static_assert(offsetof(EMRECORD, Ap) == 8 && sizeof(VARARG_PTR) == 8);
#elif defined(__x86_64__)
static_assert(offsetof(EMRECORD, Ap) == 8 && sizeof(VARARG_PTR) == 24);
#endif
#pragma GCC diagnostic pop

// SEARCH_MATCH [Data/SEARCH_MATCH]: the note ID at byte 16, SERetFlags at byte 50. Read by byte
// offsets: the library's pointers into its buffers may be misaligned.
struct SEARCH_MATCH;
constexpr std::size_t kSearchMatchNoteIdOffset = 16;
constexpr std::size_t kSearchMatchRetFlagsOffset = 50;
struct ITEM_TABLE;  // [Data/ITEM_TABLE]: {USHORT Length, USHORT Items}, then the items
struct NFMT;        // [Data/NFMT]; the program passes none

using NSFSEARCHPROC = STATUS(LNCALLBACK*)(void* param, SEARCH_MATCH* match, ITEM_TABLE* summary);
using EMHANDLER = STATUS(LNCALLBACK*)(EMRECORD* record);
using XML_WRITE_FUNCTION = void(LNCALLBACK*)(const BYTE* bytes, DWORD length, void* action);
using ACTIVITYSTREAMACTION = STATUS(LNCALLBACK*)(const char* descName, DWORD descIdx,
                                                 DWORD flags, WORD primaryKey,
                                                 const TIMEDATE* timeStamp,
                                                 void* activityRecord, void* userData);

}  // namespace notesapi

// Runtime
DXL_NOTES_API notesapi::STATUS LNPUBLIC NotesInitExtended(int argc, char** argv);  // [Func/NotesInitExtended]
DXL_NOTES_API void LNPUBLIC NotesTerm(void);  // [Func/NotesTerm]
DXL_NOTES_API notesapi::STATUS LNPUBLIC SECKFMSwitchToIDFile(  // [Func/SECKFMSwitchToIDFile]
    char* idFile, char* password, char* retUserName, notesapi::WORD maxUserNameLength,
    notesapi::DWORD flags, void* reserved);
DXL_NOTES_API notesapi::BOOL LNPUBLIC OSGetEnvironmentString(  // [Func/OSGetEnvironmentString]
    const char* name, char* retValue, notesapi::WORD bufferLength);
DXL_NOTES_API notesapi::WORD LNPUBLIC OSLoadString(  // [Func/OSLoadString]
    notesapi::HMODULE module, notesapi::STATUS code, char* retBuffer,
    notesapi::WORD bufferLength);

// Text and numbers
DXL_NOTES_API notesapi::WORD LNPUBLIC OSTranslate(  // [Func/OSTranslate]
    notesapi::WORD mode, const char* in, notesapi::WORD inLength, char* out,
    notesapi::WORD outLength);
DXL_NOTES_API notesapi::STATUS LNPUBLIC ConvertFLOATToText(  // [Func/ConvertFLOATToText]
    const void* intlFormat, const notesapi::NFMT* numberFormat, notesapi::NUMBER* number,
    char* retText, notesapi::WORD textBufferLength, notesapi::WORD* retTextLength);

// Time
DXL_NOTES_API void LNPUBLIC TimeConstant(notesapi::WORD type, notesapi::TIMEDATE* time);  // [Func/TimeConstant]

// Memory
DXL_NOTES_API void* LNPUBLIC OSLockObject(notesapi::DHANDLE handle);  // [Func/OSLockObject]
DXL_NOTES_API notesapi::BOOL LNPUBLIC OSUnlockObject(notesapi::DHANDLE handle);  // [Func/OSUnlockObject]
DXL_NOTES_API notesapi::STATUS LNPUBLIC OSMemFree(notesapi::DHANDLE handle);  // [Func/OSMemFree]
// The object's size in bytes, possibly rounded up to an allocation boundary.
DXL_NOTES_API notesapi::STATUS LNPUBLIC OSMemGetSize(  // [Func/OSMemGetSize]
    notesapi::DHANDLE handle, notesapi::DWORD* retSize);

// Databases
DXL_NOTES_API notesapi::STATUS LNPUBLIC OSPathNetConstruct(  // [Func/OSPathNetConstruct]
    const char* port, const char* server, const char* file, char* retPath);
DXL_NOTES_API notesapi::STATUS LNPUBLIC NSFDbOpen(const char* path, notesapi::DBHANDLE* retDatabase);  // [Func/NSFDbOpen]
DXL_NOTES_API notesapi::STATUS LNPUBLIC NSFDbClose(notesapi::DBHANDLE database);  // [Func/NSFDbClose]
DXL_NOTES_API notesapi::STATUS LNPUBLIC NSFDbPathGet(  // [Func/NSFDbPathGet]
    notesapi::DBHANDLE database, char* retCanonical, char* retExpanded);

// Selection and ID tables
DXL_NOTES_API notesapi::STATUS LNPUBLIC NSFFormulaCompile(  // [Func/NSFFormulaCompile]
    char* name, notesapi::WORD nameLength, const char* text, notesapi::WORD textLength,
    notesapi::FORMULAHANDLE* retFormula, notesapi::WORD* retFormulaLength,
    notesapi::STATUS* retCompileError, notesapi::WORD* retLine, notesapi::WORD* retColumn,
    notesapi::WORD* retOffset, notesapi::WORD* retLength);
DXL_NOTES_API notesapi::STATUS LNPUBLIC NSFSearch(  // [Func/NSFSearch]
    notesapi::DBHANDLE database, notesapi::FORMULAHANDLE formula, char* viewTitle,
    notesapi::WORD searchFlags, notesapi::WORD noteClassMask, notesapi::TIMEDATE* since,
    notesapi::NSFSEARCHPROC callback, void* param, notesapi::TIMEDATE* retUntil);
DXL_NOTES_API notesapi::STATUS LNPUBLIC IDCreateTable(  // [Func/IDCreateTable]
    notesapi::DWORD alignment, notesapi::DHANDLE* retTable);
DXL_NOTES_API notesapi::STATUS LNPUBLIC IDInsert(  // [Func/IDInsert]
    notesapi::DHANDLE table, notesapi::NOTEID id, notesapi::BOOL* retInserted);
DXL_NOTES_API notesapi::DWORD LNPUBLIC IDEntries(notesapi::DHANDLE table);  // [Func/IDEntries]
DXL_NOTES_API notesapi::STATUS LNPUBLIC IDDestroyTable(notesapi::DHANDLE table);  // [Func/IDDestroyTable]

// Items and lists
DXL_NOTES_API notesapi::BOOL LNPUBLIC NSFItemGetTime(  // [Func/NSFItemGetTime]
    notesapi::NOTEHANDLE note, const char* itemName, notesapi::TIMEDATE* retTime);
DXL_NOTES_API notesapi::STATUS LNPUBLIC NSFItemSetText(  // [Func/NSFItemSetText]
    notesapi::NOTEHANDLE note, const char* itemName, const char* text,
    notesapi::WORD textLength);
DXL_NOTES_API notesapi::WORD LNPUBLIC ListGetNumEntries(void* list, notesapi::BOOL prefixed);  // [Func/ListGetNumEntries]
DXL_NOTES_API notesapi::STATUS LNPUBLIC ListGetText(  // [Func/ListGetText]
    void* list, notesapi::BOOL prefixed, notesapi::WORD entry, char** retText,
    notesapi::WORD* retTextLength);

// Extension-manager hooks
DXL_NOTES_API notesapi::STATUS LNPUBLIC EMCreateRecursionID(notesapi::WORD* retRecursionId);  // [Func/EMCreateRecursionID]
DXL_NOTES_API notesapi::STATUS LNPUBLIC EMRegister(  // [Func/EMRegister]
    notesapi::EID event, notesapi::DWORD flags, notesapi::EMHANDLER handler,
    notesapi::WORD recursionId, notesapi::HEMREGISTRATION* retRegistration);
DXL_NOTES_API notesapi::STATUS LNPUBLIC EMDeregister(notesapi::HEMREGISTRATION registration);  // [Func/EMDeregister]

// DXL
DXL_NOTES_API notesapi::STATUS LNPUBLIC DXLCreateExporter(notesapi::DXLEXPORTHANDLE* retExporter);  // [Func/DXLCreateExporter]
DXL_NOTES_API notesapi::STATUS LNPUBLIC DXLExportIDTable(  // [Func/DXLExportIDTable]
    notesapi::DXLEXPORTHANDLE exporter, notesapi::XML_WRITE_FUNCTION writer,
    notesapi::DBHANDLE database, notesapi::DHANDLE idTable, void* action);
DXL_NOTES_API void LNPUBLIC DXLDeleteExporter(notesapi::DXLEXPORTHANDLE exporter);  // [Func/DXLDeleteExporter]

// Views (NIFFindView is a macro over NIFFindDesignNoteExt [Func/NIFFindView])
DXL_NOTES_API notesapi::STATUS LNPUBLIC NIFFindDesignNoteExt(  // [Func/NIFFindDesignNoteExt]
    notesapi::DBHANDLE database, const char* name, notesapi::WORD noteClass,
    const char* flagsPattern, notesapi::NOTEID* retNoteId, notesapi::DWORD options);
DXL_NOTES_API notesapi::STATUS LNPUBLIC NIFOpenCollection(  // [Func/NIFOpenCollection]
    notesapi::DBHANDLE viewDatabase, notesapi::DBHANDLE dataDatabase, notesapi::NOTEID viewId,
    notesapi::WORD openFlags, notesapi::DHANDLE unreadList, notesapi::HCOLLECTION* retCollection,
    notesapi::NOTEHANDLE* retViewNote, notesapi::UNID* retViewUnid,
    notesapi::DHANDLE* retCollapsedList, notesapi::DHANDLE* retSelectedList);
DXL_NOTES_API notesapi::STATUS LNPUBLIC NIFReadEntries(  // [Func/NIFReadEntries]
    notesapi::HCOLLECTION collection, notesapi::COLLECTIONPOSITION* position,
    notesapi::WORD skipNavigator, notesapi::DWORD skipCount, notesapi::WORD returnNavigator,
    notesapi::DWORD returnCount, notesapi::DWORD returnMask, notesapi::DHANDLE* retBuffer,
    notesapi::WORD* retBufferLength, notesapi::DWORD* retSkipped, notesapi::DWORD* retReturned,
    notesapi::WORD* retSignalFlags);
DXL_NOTES_API notesapi::STATUS LNPUBLIC NIFCloseCollection(notesapi::HCOLLECTION collection);  // [Func/NIFCloseCollection]

// Names (the 32-bit "2" family throughout [Func/NAMELookup2])
DXL_NOTES_API notesapi::STATUS LNPUBLIC NAMELookup2(  // [Func/NAMELookup2]
    const char* server, notesapi::DWORD flags, notesapi::WORD nameSpaceCount,
    const char* nameSpaces, notesapi::WORD nameCount, const char* names,
    notesapi::WORD itemCount, const char* items, notesapi::DHANDLE* retBuffer);
DXL_NOTES_API void* LNPUBLIC NAMELocateNextName2(  // [Func/NAMELocateNextName2]
    void* lookup, void* previousName, notesapi::DWORD* retMatchCount);
DXL_NOTES_API void* LNPUBLIC NAMELocateNextMatch2(  // [Func/NAMELocateNextMatch2]
    void* lookup, void* name, void* previousMatch);
DXL_NOTES_API notesapi::STATUS LNPUBLIC NAMEGetTextItem2(  // [Func/NAMEGetTextItem2]
    void* match, notesapi::WORD item, notesapi::WORD member, char* buffer,
    notesapi::WORD bufferLength);
DXL_NOTES_API notesapi::STATUS LNPUBLIC DNAbbreviate(  // [Func/DNAbbreviate]
    notesapi::DWORD flags, const char* templateName, const char* name, char* retName,
    notesapi::WORD retSize, notesapi::WORD* retLength);

// Activity log [user guide: Activity Logging]
DXL_NOTES_API notesapi::STATUS LNPUBLIC LogOpenActivityStream(  // [Func/LogOpenActivityStream]
    void** retStream, const char* serverName, const char* logPath, const char* activityName,
    notesapi::DWORD flags, const notesapi::TIMEDATE_PAIR* dateRange);
DXL_NOTES_API notesapi::STATUS LNPUBLIC LogEnumActivityStream(  // [Func/LogEnumActivityStream]
    void* stream, notesapi::ACTIVITYSTREAMACTION action, void* userData,
    notesapi::ACTIVITYSTREAMPOSITION* position, notesapi::DWORD positionSize);
DXL_NOTES_API notesapi::STATUS LNPUBLIC LogCloseActivityStream(void* stream);  // [Func/LogCloseActivityStream]

