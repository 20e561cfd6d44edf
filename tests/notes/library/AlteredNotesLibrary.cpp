// A Notes library that is the look-alike with some of its answers changed, as a library the
// program cannot trust might give them: the functions here take the look-alike's answer (the
// next definition of the same name, which this library's dependency provides) and change it;
// every other function is the look-alike's own. DXL_TEST_LIBRARY_CHANGES chooses the changes,
// separated by commas, each a name and, for some, "=N":
//
//   OverCountedEntries=N  NIFReadEntries reports N more entries than its buffer holds
//   NoMemory              OSLockObject gives no memory
//   MoreToDoForever       NIFReadEntries always signals more to do
//   StandingStill         ... puts the position back where it was, and signals more to do
//   EmptyBatches          ... reports no entries in the buffer it returns
//   LostBuffers           ... frees its buffer and returns none, with the entries counted
//   UntypedRecord=K       the K-th activity record comes without its type name
//   UntimedRecord=K       ... without its time
//   RecordWithoutItems=K  ... without its item table
//   IgnoredStop           the activity scan goes on after the callback stopped it, and ends
//                         with success
//   IgnoredSearchFailure  NSFSearch likewise goes on after the callback failed, with success
//   LongListEntry=N       ListGetText reports N bytes more than the entry holds
//   NoMoreMatches         NAMELocateNextMatch2 finds no match
//   StrayStatusText       OSLoadString gives bytes that are no LMBCS and no UTF-8 (0xFF)
//   DataLessDxlChunk=K    the K-th chunk of a DXL export comes without its data (its length kept)
//   TranslationPastRoom   OSTranslate reports one byte more than the room it was given (when
//                         a 16-bit count can say so)
//   EndlessOpen           NSFDbOpen never returns, as over a network that does not answer; it
//                         creates the file DXL_TEST_LIBRARY_MARKER names when it starts waiting
#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "notes/NotesCApi.h"

namespace {

namespace api = notesapi;

// The value of change `name` (1 when it has none), or 0 when it is not chosen.
long Change(std::string_view name) {
    const char* chosen = std::getenv("DXL_TEST_LIBRARY_CHANGES");
    for (std::string_view list = chosen != nullptr ? chosen : ""; !list.empty();) {
        const std::string_view item = list.substr(0, list.find(','));
        list.remove_prefix(std::min(list.size(), item.size() + 1));
        const std::string_view key = item.substr(0, item.find('='));
        if (key != name) continue;
        if (key.size() == item.size()) return 1;
        return std::strtol(std::string(item.substr(key.size() + 1)).c_str(), nullptr, 10);
    }
    return 0;
}

// The look-alike's own definition of the function this library replaces.
template <typename Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}
#define DXL_NEXT(name) Next<decltype(&::name)>(#name)

struct Scan {
    api::ACTIVITYSTREAMACTION action = nullptr;
    void* userData = nullptr;
    long records = 0;
};
Scan scan;

api::STATUS LNCALLBACK AlterRecord(const char* descName, api::DWORD descIdx, api::DWORD flags,
                                   api::WORD primaryKey, const api::TIMEDATE* timeStamp,
                                   void* record, void* /*userData*/) {
    ++scan.records;
    if (scan.records == Change("UntypedRecord")) descName = nullptr;
    if (scan.records == Change("UntimedRecord")) timeStamp = nullptr;
    if (scan.records == Change("RecordWithoutItems")) record = nullptr;
    const api::STATUS status =
        scan.action(descName, descIdx, flags, primaryKey, timeStamp, record, scan.userData);
    return Change("IgnoredStop") != 0 ? 0 : status;
}

}  // namespace

DXL_NOTES_API api::STATUS LNPUBLIC NIFReadEntries(
    api::HCOLLECTION collection, api::COLLECTIONPOSITION* position, api::WORD skipNavigator,
    api::DWORD skipCount, api::WORD returnNavigator, api::DWORD returnCount,
    api::DWORD returnMask, api::DHANDLE* retBuffer, api::WORD* retBufferLength,
    api::DWORD* retSkipped, api::DWORD* retReturned, api::WORD* retSignalFlags) {
    const api::COLLECTIONPOSITION given = position != nullptr ? *position : api::COLLECTIONPOSITION{};
    const api::STATUS status = DXL_NEXT(NIFReadEntries)(
        collection, position, skipNavigator, skipCount, returnNavigator, returnCount, returnMask,
        retBuffer, retBufferLength, retSkipped, retReturned, retSignalFlags);
    if (status != 0) return status;
    if (retReturned != nullptr && *retReturned > 0) {
        *retReturned += static_cast<api::DWORD>(Change("OverCountedEntries"));
    }
    if (retSignalFlags != nullptr && (Change("MoreToDoForever") != 0 || Change("StandingStill") != 0)) {
        *retSignalFlags |= api::SIGNAL_MORE_TO_DO;
    }
    if (position != nullptr && Change("StandingStill") != 0) *position = given;
    if (retReturned != nullptr && Change("EmptyBatches") != 0) *retReturned = 0;
    if (retBuffer != nullptr && *retBuffer != 0 && Change("LostBuffers") != 0) {
        DXL_NEXT(OSMemFree)(*retBuffer);
        *retBuffer = 0;
    }
    return status;
}

DXL_NOTES_API void* LNPUBLIC OSLockObject(api::DHANDLE handle) {
    void* locked = DXL_NEXT(OSLockObject)(handle);
    if (Change("NoMemory") == 0) return locked;
    DXL_NEXT(OSUnlockObject)(handle);
    return nullptr;
}

DXL_NOTES_API api::STATUS LNPUBLIC LogEnumActivityStream(void* stream,
                                                         api::ACTIVITYSTREAMACTION action,
                                                         void* userData,
                                                         api::ACTIVITYSTREAMPOSITION* position,
                                                         api::DWORD positionSize) {
    scan = {action, userData, 0};
    return DXL_NEXT(LogEnumActivityStream)(stream, AlterRecord, nullptr, position, positionSize);
}

DXL_NOTES_API api::STATUS LNPUBLIC ListGetText(void* list, api::BOOL prefixed, api::WORD entry,
                                               char** retText, api::WORD* retTextLength) {
    const api::STATUS status = DXL_NEXT(ListGetText)(list, prefixed, entry, retText, retTextLength);
    if (status == 0 && retTextLength != nullptr) {
        *retTextLength = static_cast<api::WORD>(*retTextLength + Change("LongListEntry"));
    }
    return status;
}

DXL_NOTES_API void* LNPUBLIC NAMELocateNextMatch2(void* lookup, void* name, void* previousMatch) {
    if (Change("NoMoreMatches") != 0) return nullptr;
    return DXL_NEXT(NAMELocateNextMatch2)(lookup, name, previousMatch);
}

DXL_NOTES_API api::WORD LNPUBLIC OSLoadString(api::HMODULE module, api::STATUS code,
                                              char* retBuffer, api::WORD bufferLength) {
    if (Change("StrayStatusText") == 0 || retBuffer == nullptr || bufferLength < 4) {
        return DXL_NEXT(OSLoadString)(module, code, retBuffer, bufferLength);
    }
    std::memcpy(retBuffer, "\xFF\xFE\xFF", 4);
    return 3;
}

DXL_NOTES_API api::WORD LNPUBLIC OSTranslate(api::WORD mode, const char* in, api::WORD inLength,
                                             char* out, api::WORD outLength) {
    const api::WORD written = DXL_NEXT(OSTranslate)(mode, in, inLength, out, outLength);
    if (Change("TranslationPastRoom") == 0 || outLength == 0xFFFF) return written;
    return static_cast<api::WORD>(outLength + 1);
}

namespace {

struct DxlExport {
    api::XML_WRITE_FUNCTION writer = nullptr;
    void* action = nullptr;
    long chunks = 0;
};
DxlExport dxlExport;

void LNCALLBACK AlterDxlChunk(const api::BYTE* bytes, api::DWORD length, void* action) {
    ++dxlExport.chunks;
    dxlExport.writer(dxlExport.chunks == Change("DataLessDxlChunk") ? nullptr : bytes, length, action);
}

}  // namespace

DXL_NOTES_API api::STATUS LNPUBLIC DXLExportIDTable(api::DXLEXPORTHANDLE exporter,
                                                    api::XML_WRITE_FUNCTION writer,
                                                    api::DBHANDLE database, api::DHANDLE idTable,
                                                    void* action) {
    if (Change("DataLessDxlChunk") == 0) {
        return DXL_NEXT(DXLExportIDTable)(exporter, writer, database, idTable, action);
    }
    dxlExport = {writer, action, 0};
    return DXL_NEXT(DXLExportIDTable)(exporter, AlterDxlChunk, database, idTable, action);
}

DXL_NOTES_API api::STATUS LNPUBLIC NSFDbOpen(const char* path, api::DBHANDLE* retDatabase) {
    if (Change("EndlessOpen") == 0) return DXL_NEXT(NSFDbOpen)(path, retDatabase);
    if (const char* marker = std::getenv("DXL_TEST_LIBRARY_MARKER"); marker != nullptr) {
        if (std::FILE* file = std::fopen(marker, "w")) std::fclose(file);
    }
    for (;;) ::pause();  // a signal's handler returns here, and the wait goes on
}

namespace {

struct Search {
    api::NSFSEARCHPROC action = nullptr;
    void* param = nullptr;
};
Search search;

api::STATUS LNCALLBACK AlterSearchMatch(void* /*param*/, api::SEARCH_MATCH* match,
                                        api::ITEM_TABLE* summary) {
    search.action(search.param, match, summary);
    return 0;
}

}  // namespace

DXL_NOTES_API api::STATUS LNPUBLIC NSFSearch(api::DBHANDLE database, api::FORMULAHANDLE formula,
                                             char* viewTitle, api::WORD searchFlags,
                                             api::WORD noteClassMask, api::TIMEDATE* since,
                                             api::NSFSEARCHPROC callback, void* param,
                                             api::TIMEDATE* retUntil) {
    if (Change("IgnoredSearchFailure") == 0) {
        return DXL_NEXT(NSFSearch)(database, formula, viewTitle, searchFlags, noteClassMask, since,
                                   callback, param, retUntil);
    }
    search = {callback, param};
    return DXL_NEXT(NSFSearch)(database, formula, viewTitle, searchFlags, noteClassMask, since,
                               AlterSearchMatch, param, retUntil);
}
