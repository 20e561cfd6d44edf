// The operations the program calls in the Notes C API library, in the library's calling shapes:
// 16-bit statuses, opaque 32-bit handles, C callbacks with a context pointer, byte-layout records.
// The program reaches Notes only through these declarations, each implemented once in notes/
// over the library's functions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace notes {

using NotesStatus = std::uint16_t;
using NoteId = std::uint32_t;

using MemoryHandle = std::uint32_t;  // formulas and ID tables are memory handles too
using DatabaseHandle = std::uint32_t;
using NoteHandle = std::uint32_t;
using IdTableHandle = MemoryHandle;
using FormulaHandle = MemoryHandle;
using DxlExporterHandle = std::uint32_t;
using CollectionHandle = std::uint32_t;
using ActivityStreamHandle = std::uint32_t;
using HookRecursionId = std::uint32_t;
using HookRegistration = std::uint32_t;

constexpr NotesStatus kStatusMask = 0x3FFF;

// Eight bytes: innards[0] the low word (hundredths of a second since midnight UTC),
// innards[1] the high word (Julian day number).
struct TimeDate {
    std::uint32_t innards[2];
};

// Data types of item values.
constexpr std::uint16_t kTypeText = 0x0500;
constexpr std::uint16_t kTypeTextList = 0x0501;
constexpr std::uint16_t kTypeNumber = 0x0300;
constexpr std::uint16_t kTypeTime = 0x0400;

// Modes of TranslateText.
constexpr std::uint16_t kTranslateLmbcsToUnicode = 20;
constexpr std::uint16_t kTranslateLmbcsToUtf8 = 22;
constexpr std::uint16_t kTranslateUnicodeToLmbcs = 23;

// ITEM_TABLE: header {uint16 total length, uint16 item count}, then per item {uint16 name
// length, uint16 value length}, then per item the name bytes and the value bytes; every value
// begins with its 16-bit data type. All numbers little-endian.
constexpr std::uint32_t kItemTableHeaderSize = 4;
constexpr std::uint32_t kItemDescriptorSize = 4;

// Search match record: the note ID at bytes 16 to 19.
constexpr std::uint32_t kSearchMatchNoteIdOffset = 16;

// Extension-manager notification record handed to note-open hooks: at byte 6 a pointer to the
// event's argument list; argument 3 (zero-based) of that list points to the opened note's handle.
// Both pointers are native pointers, so bytes 6-9 and 12-15 on a 32-bit build.
constexpr std::uint32_t kHookArgumentsOffset = 6;
constexpr std::uint32_t kHookNoteHandleArgument = 3;
// The record starts {uint16 event, uint16 notification type, uint16 status}: the type is
// kHookNotifiedAfter for a call after the operation, whose result the status holds; when that is
// not 0 the note handle was never set. kHookRegisterAfter is the registration flag that asks for
// those calls.
constexpr std::uint16_t kHookEventNoteOpen = 5;
constexpr std::uint16_t kHookRegisterAfter = 2;
constexpr std::uint16_t kHookNotifiedBefore = 0;
constexpr std::uint16_t kHookNotifiedAfter = 1;
constexpr std::uint32_t kHookNotificationTypeOffset = 2;
constexpr std::uint32_t kHookStatusOffset = 4;
constexpr NotesStatus kHookContinue = 725;

// View reading.
struct CollectionPosition {
    std::uint16_t level;
    std::uint8_t minLevel;
    std::uint8_t maxLevel;
    std::uint32_t tumbler[32];
};
constexpr std::uint32_t kCategoryNoteIdFlag = 0x80000000u;
constexpr std::uint16_t kSignalMoreToDo = 0x0020;
constexpr std::uint32_t kReadMaskNoteIdAndSummary = 0x8001;
constexpr std::uint16_t kNavigateNext = 1;

using SearchCallback = NotesStatus (*)(void* context, const void* match, const void* summary);
using HookHandler = NotesStatus (*)(const void* notification);
using DxlStreamCallback = void (*)(const unsigned char* data, std::uint32_t length, void* context);
using ActivityCallback = NotesStatus (*)(const char* eventType, std::uint32_t reserved1,
                                         std::uint32_t reserved2, const void* reserved3,
                                         const TimeDate* eventTime, const void* itemTable,
                                         void* context);

// The library itself: found, loaded and every function resolved before the first Notes call.
// Functions linked into the program (notes/NotesLibrary.h) have nothing to load.
struct LibraryLoad {
    bool loaded = false;
    std::string file;     // UTF-8: the file loaded, or the name searched for; empty if linked in
    std::string failure;  // UTF-8: the run-log text when it cannot be used: the file, the missing
                          // function if one is, the system's reason
};
LibraryLoad LoadNotesLibrary();

// With a reporter set, every C function of the library that returns a non-zero status is named
// to it with that status as returned (flag bits included).
using FailedCallReporter = void (*)(const char* function, NotesStatus status);
void ReportFailedCalls(FailedCallReporter reporter);

// Runtime
NotesStatus InitializeNotes(int argc, char** argv);
void TerminateNotes();
NotesStatus SwitchToIdFile(const char* idFile, const char* password, char* userName,
                           std::uint16_t userNameSize, std::uint32_t options, void* reserved);
// `bufferSize` is the longest value: the buffer holds one byte more, for the terminator.
bool GetEnvironmentText(const char* name, char* buffer, std::uint16_t bufferSize);
std::uint16_t GetStatusText(std::uint32_t module, NotesStatus status, char* buffer,
                            std::uint16_t bufferSize);

// Text
std::uint32_t TranslateText(std::uint16_t mode, const void* input, std::uint32_t inputLength,
                            void* output, std::uint32_t outputSize);
NotesStatus NumberToText(const void* numberFormat, const void* international,
                         const double* number, char* buffer, std::uint16_t bufferSize,
                         std::uint16_t* length);

// Time
std::uint32_t TimeHighWord(const TimeDate* time);
std::uint32_t TimeLowWord(const TimeDate* time);
void MakeTimeValue(std::uint32_t high, std::uint32_t low, TimeDate* time);
void SetTimeLimit(int which, TimeDate* time);  // 0 the earliest, 1 the latest time

// Memory
void* LockMemoryHandle(MemoryHandle handle);
// The size in bytes of what a lock of `handle` shows, possibly rounded up.
NotesStatus GetMemorySize(MemoryHandle handle, std::uint32_t* size);
void UnlockMemoryHandle(MemoryHandle handle);
void FreeMemoryHandle(MemoryHandle handle);

// Databases. A path the library builds from a server and a file ("server!!file") has at most
// kLongestPath bytes: a longer one is refused with kStatusPathTooLong (462) before any call.
constexpr std::size_t kLongestPath = 255;
constexpr std::string_view kServerSeparator = "!!";
bool NetworkPathFits(const char* server, const char* file);
NotesStatus BuildNetworkPath(const char* port, const char* server, const char* file,
                             char* path);  // path: kLongestPath + 1 bytes
NotesStatus OpenDatabase(const char* path, DatabaseHandle* database);
void CloseDatabase(DatabaseHandle database);
NotesStatus GetDatabasePath(DatabaseHandle database, char* canonical,
                            char* expanded);  // each kLongestPath + 1 bytes or null

// Selection
NotesStatus CompileFormula(const char* name, std::uint16_t nameLength, const char* text,
                           std::uint16_t textLength, FormulaHandle* formula,
                           std::uint16_t* formulaLength, std::uint16_t* compileError,
                           std::uint16_t* errorLine, std::uint16_t* errorColumn,
                           std::uint16_t* errorOffset, std::uint16_t* errorLength);
NotesStatus SearchDatabase(DatabaseHandle database, FormulaHandle formula, const char* viewTitle,
                           std::uint16_t searchFlags, std::uint16_t noteClassMask,
                           const TimeDate* since, SearchCallback callback, void* context,
                           TimeDate* until);
NotesStatus CreateIdTable(std::uint16_t alignment, IdTableHandle* table);
NotesStatus InsertIdIntoTable(IdTableHandle table, NoteId id, bool* inserted);
std::uint32_t CountIdTableEntries(IdTableHandle table);
void DestroyIdTable(IdTableHandle table);

// Items
bool GetTimeItem(NoteHandle note, const char* itemName, TimeDate* value);
bool FindSummaryItem(const void* itemTable, const char* itemName, const char** value,
                     std::uint16_t* valueLength, std::uint16_t* dataType);
NotesStatus SetTextItem(NoteHandle note, const char* itemName, const char* text,
                        std::uint16_t textLength);
std::uint16_t CountListEntries(const void* list, bool prefixed);
NotesStatus GetListEntryText(const void* list, bool prefixed, std::uint16_t entry,
                             const char** text, std::uint16_t* textLength);

// Hooks
NotesStatus CreateHookRecursionId(HookRecursionId* recursionId);
NotesStatus RegisterNoteOpenHook(std::uint16_t event, std::uint16_t when, HookHandler handler,
                                 HookRecursionId recursionId, HookRegistration* registration);
void DeregisterHook(HookRegistration registration);

// DXL
NotesStatus CreateDxlExporter(DxlExporterHandle* exporter);
NotesStatus ExportIdTableAsDxl(DxlExporterHandle exporter, DxlStreamCallback writer,
                               DatabaseHandle database, IdTableHandle table, void* context);
void DeleteDxlExporter(DxlExporterHandle exporter);

// Views
NotesStatus FindView(DatabaseHandle database, const char* name, std::uint16_t noteClass,
                     const char* flagPattern, NoteId* viewId, std::uint32_t options);
// The view note, its UNID and the collapsed and selected ID tables are never asked of the
// library: the reserved view note must be null, and the library frees the two tables itself when
// the collection closes, which an owner of them here would free a second time. Their outputs are
// set to 0.
NotesStatus OpenViewCollection(DatabaseHandle viewDatabase, DatabaseHandle dataDatabase,
                               NoteId viewId, std::uint16_t openFlags, MemoryHandle unreadList,
                               CollectionHandle* collection, NoteHandle* viewNote,
                               void* viewUnid, IdTableHandle* collapsedList,
                               IdTableHandle* selectedList);
NotesStatus ReadViewEntries(CollectionHandle collection, CollectionPosition* position,
                            std::uint16_t skipNavigator, std::uint32_t skipCount,
                            std::uint16_t returnNavigator, std::uint32_t returnCount,
                            std::uint32_t returnMask, MemoryHandle* buffer,
                            std::uint16_t* bufferLength, std::uint32_t* skipped,
                            std::uint32_t* returned, std::uint16_t* signalFlags);
void CloseViewCollection(CollectionHandle collection);

// Names. Name spaces, names and items are each given as that many NUL-terminated texts
// stored one after the other.
NotesStatus LookupNames(const char* server, std::uint16_t flags, std::uint16_t nameSpaceCount,
                        const char* nameSpaces, std::uint16_t nameCount, const char* names,
                        std::uint16_t itemCount, const char* items, MemoryHandle* lookup);
const void* FirstLookupName(const void* lookup, const void* previousName,
                            std::uint16_t* matchCount);
const void* NextNameMatch(const void* lookup, const void* name, const void* previousMatch);
// `bufferSize` is the buffer's size: the text is cut to leave room for its terminator.
NotesStatus GetMatchItemText(const void* match, std::uint16_t item, std::uint16_t value,
                             char* buffer, std::uint16_t bufferSize);
NotesStatus ConvertName(std::uint32_t flags, const char* templateName, const char* name,
                        char* buffer, std::uint16_t bufferSize, std::uint16_t* length);

// Activity
NotesStatus OpenActivityStream(ActivityStreamHandle* stream, const char* server,
                               const char* database, const char* typeFilter,
                               std::uint32_t flags, const TimeDate* range);
NotesStatus ScanActivityStream(ActivityStreamHandle stream, ActivityCallback callback,
                               void* context, std::uint32_t reserved1, std::uint32_t reserved2);
void CloseActivityStream(ActivityStreamHandle stream);

}  // namespace notes
