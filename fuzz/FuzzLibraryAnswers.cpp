// Every mode of the program, run in this process over the simulated runtime, with a Notes library
// whose answers the input changes: statuses (with and without flag bits, and failures after the
// work was done), counts, lengths, handles and pointers (zero, one off, the largest, outside
// their buffer), texts without their terminator or of stray bytes, "more to do" that never ends
// or makes no progress, records and buffers whose own lengths do not fit, callbacks called twice,
// not at all, or with null arguments, and the stop the program asks for ignored.
//
// Whatever the answers, the run ends (the fuzzer's time limit), nothing is read outside what the
// library handed over (ASan), every run-log line is whole UTF-8, every published file is complete
// and well-formed, and a mode that published nothing says why in the run log. A library can lie
// in ways no program can see (a buffer larger than it is, a chunk of DXL left out): those answers
// are not given.
#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "catalog/DxlFileWriter.h"
#include "driver/RunLog.h"
#include "fuzz/LittleEndian.h"
#include "notes/NotesLibrary.h"
#include "notessim/Files.h"
#include "notessim/SimControl.h"
#include "platform/Text.h"
#include "tests/support/InProcessRun.h"

namespace {

namespace api = notesapi;
namespace fs = std::filesystem;
using fuzz::PutWord;
using fuzz::Word;

// The input, a choice at a time; past its end every choice is 0: the runtime's own answer.
struct Choices {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t at = 0;
    unsigned Next(unsigned options) { return at < size ? data[at++] % options : 0; }
};
Choices choices;

// Set when the library left out or repeated part of its DXL output, which no program can tell.
bool dxlAltered = false;

constexpr api::STATUS kFailures[] = {0x0103, 0x0107, 0x0201, 0x0306, 0x0310, 0x0404, 0x0803,
                                     0x2011, 0x019D, 0x010E, 0x1908};

// The status the library gives instead of `status`; a failure may come after the work was done.
api::STATUS Status(api::STATUS status) {
    switch (choices.Next(8)) {
        case 1: return status != 0 ? static_cast<api::STATUS>(status | 0xC000) : status;
        case 2: return kFailures[choices.Next(std::size(kFailures))];
        case 3: return static_cast<api::STATUS>(kFailures[choices.Next(std::size(kFailures))] |
                                                0x8000);
        case 4: return 0;
        default: return status;
    }
}

// Whether the call fails before doing anything: the status to give, or 0 to make the call.
api::STATUS FailFirst() {
    return choices.Next(16) == 1 ? kFailures[choices.Next(std::size(kFailures))] : 0;
}

template <typename T>
void Value(T* value) {
    if (value == nullptr) return;
    constexpr T kLargest = static_cast<T>(~T{0});
    switch (choices.Next(10)) {
        case 1: *value = 0; break;
        case 2: *value = static_cast<T>(*value + 1); break;
        case 3: *value = static_cast<T>(*value - 1); break;
        case 4: *value = kLargest; break;
        case 5: *value = static_cast<T>(*value * 2 + 7); break;
        case 6: *value = static_cast<T>(kLargest / 2 + 1); break;
        default: break;
    }
}

// A text the library wrote into `size` bytes: left, or made to fill them without a terminator,
// or of bytes that are neither LMBCS nor UTF-8.
void Text(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return;
    switch (choices.Next(6)) {
        case 1: std::memset(buffer, 'A', size); break;
        case 2: std::memset(buffer, 0xFF, size); break;
        case 3: buffer[0] = '\0'; break;
        default: break;
    }
}

// A call's status with the text it wrote into `size` bytes and the length it reported, each
// changed as the input says.
api::STATUS TextAndLength(api::STATUS status, char* text, api::WORD size, api::WORD* length) {
    Text(text, size);
    Value(length);
    return Status(status);
}

// A pointer into a buffer the library handed over: left, null, or far outside it.
template <typename T>
T* Pointer(T* pointer) {
    switch (choices.Next(8)) {
        case 1: return nullptr;
        case 2: return pointer == nullptr ? nullptr
                                          : reinterpret_cast<T*>(reinterpret_cast<char*>(pointer) +
                                                                 (1 << 24));
        default: return pointer;
    }
}

#define CHECKED_FIRST()                                   \
    if (const api::STATUS failed = FailFirst(); failed != 0) return failed

// The library's functions under their own names, each giving the runtime's answer altered as the
// input says; those brought in by `using` give it unaltered.
namespace altered {

// Runtime

api::STATUS LNPUBLIC NotesInitExtended(int argc, char** argv) {
    CHECKED_FIRST();
    return Status(::NotesInitExtended(argc, argv));
}

using ::NotesTerm;

api::STATUS LNPUBLIC SECKFMSwitchToIDFile(char* idFile, char* password, char* userName,
                                          api::WORD size, api::DWORD flags, void* reserved) {
    CHECKED_FIRST();
    const api::STATUS status = ::SECKFMSwitchToIDFile(idFile, password, userName, size, flags,
                                                       reserved);
    Text(userName, size);
    return Status(status);
}

api::BOOL LNPUBLIC OSGetEnvironmentString(const char* name, char* value, api::WORD length) {
    api::BOOL found = ::OSGetEnvironmentString(name, value, length);
    if (choices.Next(8) == 1) found = !found;
    Text(value, length);
    return found;
}

api::WORD LNPUBLIC OSLoadString(api::HMODULE module, api::STATUS code, char* buffer,
                                api::WORD length) {
    api::WORD written = ::OSLoadString(module, code, buffer, length);
    Text(buffer, length);
    Value(&written);
    return written;
}

api::WORD LNPUBLIC OSTranslate(api::WORD mode, const char* in, api::WORD inLength, char* out,
                               api::WORD outLength) {
    api::WORD written = ::OSTranslate(mode, in, inLength, out, outLength);
    switch (choices.Next(8)) {
        case 1: std::memset(out, 0xFF, outLength); break;  // in UTF-16: U+FFFF; in UTF-8: none
        case 2:                                             // unpaired surrogates
            for (api::WORD i = 0; i + 1 < outLength; i += 2) {
                out[i] = 0x00;
                out[i + 1] = static_cast<char>(0xD8);
            }
            break;
        default: break;
    }
    Value(&written);
    return written;
}

api::STATUS LNPUBLIC ConvertFLOATToText(const void* intl, const api::NFMT* format,
                                        api::NUMBER* number, char* text, api::WORD size,
                                        api::WORD* length) {
    CHECKED_FIRST();
    return TextAndLength(::ConvertFLOATToText(intl, format, number, text, size, length), text, size,
                         length);
}

void LNPUBLIC TimeConstant(api::WORD type, api::TIMEDATE* time) {
    ::TimeConstant(type, time);
    Value(&time->Innards[0]);
    Value(&time->Innards[1]);
}

// Memory: the size is never made larger than the object, which no program could tell.

void* LNPUBLIC OSLockObject(api::DHANDLE handle) {
    void* locked = ::OSLockObject(handle);
    if (locked != nullptr && choices.Next(16) == 1) {
        ::OSUnlockObject(handle);
        return nullptr;
    }
    return locked;
}

api::STATUS LNPUBLIC OSMemGetSize(api::DHANDLE handle, api::DWORD* size) {
    const api::STATUS status = ::OSMemGetSize(handle, size);
    if (size != nullptr) {
        switch (choices.Next(8)) {
            case 1: *size = 0; break;
            case 2: *size = *size > 0 ? *size - 1 : 0; break;
            case 3: *size /= 2; break;
            default: break;
        }
    }
    return Status(status);
}

using ::OSUnlockObject;
api::STATUS LNPUBLIC OSMemFree(api::DHANDLE handle) { return Status(::OSMemFree(handle)); }

// Databases

api::STATUS LNPUBLIC OSPathNetConstruct(const char* port, const char* server, const char* file,
                                        char* path) {
    const api::STATUS status = ::OSPathNetConstruct(port, server, file, path);
    Text(path, api::MAXPATH);
    return Status(status);
}

api::STATUS LNPUBLIC NSFDbOpen(const char* path, api::DBHANDLE* database) {
    CHECKED_FIRST();
    const api::STATUS status = ::NSFDbOpen(path, database);
    Value(database);
    return Status(status);
}

api::STATUS LNPUBLIC NSFDbClose(api::DBHANDLE database) { return Status(::NSFDbClose(database)); }

api::STATUS LNPUBLIC NSFDbPathGet(api::DBHANDLE database, char* canonical, char* expanded) {
    CHECKED_FIRST();
    const api::STATUS status = ::NSFDbPathGet(database, canonical, expanded);
    Text(canonical, api::MAXPATH);
    Text(expanded, api::MAXPATH);
    return Status(status);
}

// Selection

api::STATUS LNPUBLIC NSFFormulaCompile(char* name, api::WORD nameLength, const char* text,
                                       api::WORD textLength, api::FORMULAHANDLE* formula,
                                       api::WORD* formulaLength, api::STATUS* error,
                                       api::WORD* line, api::WORD* column, api::WORD* offset,
                                       api::WORD* length) {
    CHECKED_FIRST();
    const api::STATUS status = ::NSFFormulaCompile(name, nameLength, text, textLength, formula,
                                                    formulaLength, error, line, column, offset,
                                                    length);
    Value(formula);
    return Status(status);
}

struct Search {
    api::NSFSEARCHPROC callback = nullptr;
    void* param = nullptr;
} search;

api::STATUS LNCALLBACK SearchMatch(void* /*param*/, api::SEARCH_MATCH* match,
                                   api::ITEM_TABLE* summary) {
    api::STATUS status = 0;
    switch (choices.Next(10)) {
        case 1: return 0;  // left out
        case 2: status = search.callback(search.param, nullptr, summary); break;
        case 3:
            search.callback(search.param, match, summary);
            status = search.callback(search.param, match, summary);
            break;
        case 4: status = search.callback(search.param, match, nullptr); break;
        default: status = search.callback(search.param, match, summary); break;
    }
    return choices.Next(8) == 1 ? 0 : status;  // a library that goes on after a failure
}

api::STATUS LNPUBLIC NSFSearch(api::DBHANDLE database, api::FORMULAHANDLE formula, char* viewTitle,
                               api::WORD flags, api::WORD classes, api::TIMEDATE* since,
                               api::NSFSEARCHPROC callback, void* param, api::TIMEDATE* until) {
    CHECKED_FIRST();
    search = {callback, param};
    return Status(::NSFSearch(database, formula, viewTitle, flags, classes, since, SearchMatch,
                              nullptr, until));
}

api::STATUS LNPUBLIC IDCreateTable(api::DWORD alignment, api::DHANDLE* table) {
    CHECKED_FIRST();
    const api::STATUS status = ::IDCreateTable(alignment, table);
    Value(table);
    return Status(status);
}

api::STATUS LNPUBLIC IDInsert(api::DHANDLE table, api::NOTEID id, api::BOOL* inserted) {
    CHECKED_FIRST();
    const api::STATUS status = ::IDInsert(table, id, inserted);
    Value(inserted);
    return Status(status);
}

api::DWORD LNPUBLIC IDEntries(api::DHANDLE table) {
    api::DWORD count = ::IDEntries(table);
    Value(&count);
    return count;
}

api::STATUS LNPUBLIC IDDestroyTable(api::DHANDLE table) { return Status(::IDDestroyTable(table)); }

// Items

api::BOOL LNPUBLIC NSFItemGetTime(api::NOTEHANDLE note, const char* name, api::TIMEDATE* time) {
    api::BOOL found = ::NSFItemGetTime(note, name, time);
    if (choices.Next(8) == 1) found = !found;
    if (time != nullptr) Value(&time->Innards[1]);
    return found;
}

api::STATUS LNPUBLIC NSFItemSetText(api::NOTEHANDLE note, const char* name, const char* text,
                                    api::WORD length) {
    CHECKED_FIRST();
    return Status(::NSFItemSetText(note, name, text, length));
}

api::WORD LNPUBLIC ListGetNumEntries(void* list, api::BOOL prefixed) {
    api::WORD count = ::ListGetNumEntries(list, prefixed);
    Value(&count);
    return count;
}

api::STATUS LNPUBLIC ListGetText(void* list, api::BOOL prefixed, api::WORD entry, char** text,
                                 api::WORD* length) {
    CHECKED_FIRST();
    const api::STATUS status = ::ListGetText(list, prefixed, entry, text, length);
    if (text != nullptr) {
        switch (choices.Next(8)) {
            case 1: *text = nullptr; break;
            case 2: *text = *text != nullptr ? *text - 1 : nullptr; break;
            case 3: *text = *text != nullptr ? *text + 1 : nullptr; break;
            case 4: *text = Pointer(*text); break;
            default: break;
        }
    }
    Value(length);
    return Status(status);
}

// Hooks

struct Hook {
    api::EMHANDLER handler = nullptr;
} hook;

api::STATUS LNCALLBACK HookCall(api::EMRECORD* record) {
    if (hook.handler == nullptr) return api::ERR_EM_CONTINUE;
    api::EMRECORD changed = *record;
    switch (choices.Next(10)) {
        case 1: return api::ERR_EM_CONTINUE;  // not called
        case 2: return hook.handler(nullptr);
        case 3: hook.handler(record); return hook.handler(record);
        case 4: changed.Status = 0x0227; return hook.handler(&changed);
        case 5: changed.NotificationType = api::EM_BEFORE; return hook.handler(&changed);
        case 6: changed.EId = 6; return hook.handler(&changed);
        default: return hook.handler(record);
    }
}

api::STATUS LNPUBLIC EMCreateRecursionID(api::WORD* id) {
    CHECKED_FIRST();
    const api::STATUS status = ::EMCreateRecursionID(id);
    Value(id);
    return Status(status);
}

api::STATUS LNPUBLIC EMRegister(api::EID event, api::DWORD flags, api::EMHANDLER handler,
                                api::WORD recursionId, api::HEMREGISTRATION* registration) {
    CHECKED_FIRST();
    hook.handler = handler;
    const api::STATUS status = ::EMRegister(event, flags, HookCall, recursionId, registration);
    Value(registration);
    return Status(status);
}

api::STATUS LNPUBLIC EMDeregister(api::HEMREGISTRATION registration) {
    return Status(::EMDeregister(registration));
}

// DXL: a chunk may come without its data, empty, or as fewer bytes than it has; when the input
// asks for a chunk left out, twice, or in two pieces, the file cannot be checked.

struct Export {
    api::XML_WRITE_FUNCTION writer = nullptr;
    void* action = nullptr;
} dxlExport;

void LNCALLBACK DxlChunk(const api::BYTE* bytes, api::DWORD length, void* /*action*/) {
    switch (choices.Next(12)) {
        case 1: dxlExport.writer(nullptr, length, dxlExport.action); break;
        case 2: dxlExport.writer(bytes, 0, dxlExport.action); dxlAltered = length != 0; break;
        case 3: dxlAltered = true; break;
        case 4:
            dxlExport.writer(bytes, length, dxlExport.action);
            dxlExport.writer(bytes, length, dxlExport.action);
            dxlAltered = true;
            break;
        case 5:
            dxlExport.writer(bytes, length / 2, dxlExport.action);
            dxlExport.writer(bytes + length / 2, length - length / 2, dxlExport.action);
            break;
        case 6: dxlExport.writer(bytes, length > 0 ? length - 1 : 0, dxlExport.action);
            dxlAltered = length != 0;
            break;
        default: dxlExport.writer(bytes, length, dxlExport.action); break;
    }
}

api::STATUS LNPUBLIC DXLCreateExporter(api::DXLEXPORTHANDLE* exporter) {
    CHECKED_FIRST();
    const api::STATUS status = ::DXLCreateExporter(exporter);
    Value(exporter);
    return Status(status);
}

api::STATUS LNPUBLIC DXLExportIDTable(api::DXLEXPORTHANDLE exporter, api::XML_WRITE_FUNCTION writer,
                                      api::DBHANDLE database, api::DHANDLE table, void* action) {
    CHECKED_FIRST();
    dxlExport = {writer, action};
    return Status(::DXLExportIDTable(exporter, DxlChunk, database, table, nullptr));
}

using ::DXLDeleteExporter;

// Views

api::STATUS LNPUBLIC NIFFindDesignNoteExt(api::DBHANDLE database, const char* name,
                                          api::WORD noteClass, const char* pattern, api::NOTEID* id,
                                          api::DWORD options) {
    CHECKED_FIRST();
    const api::STATUS status =
        ::NIFFindDesignNoteExt(database, name, noteClass, pattern, id, options);
    Value(id);
    return Status(status);
}

api::STATUS LNPUBLIC NIFOpenCollection(api::DBHANDLE viewDatabase, api::DBHANDLE dataDatabase,
                                       api::NOTEID viewId, api::WORD flags, api::DHANDLE unread,
                                       api::HCOLLECTION* collection, api::NOTEHANDLE* viewNote,
                                       api::UNID* unid, api::DHANDLE* collapsed,
                                       api::DHANDLE* selected) {
    CHECKED_FIRST();
    const api::STATUS status = ::NIFOpenCollection(viewDatabase, dataDatabase, viewId, flags,
                                                    unread, collection, viewNote, unid, collapsed,
                                                    selected);
    Value(collection);
    return Status(status);
}

// An entry's summary length in the buffer made longer or shorter than the summary.
void AlterEntries(api::DHANDLE buffer, api::DWORD count) {
    if (buffer == 0 || count == 0 || choices.Next(4) != 1) return;
    auto* entries = static_cast<unsigned char*>(::OSLockObject(buffer));
    api::DWORD size = 0;
    ::OSMemGetSize(buffer, &size);
    const unsigned pick = choices.Next(static_cast<unsigned>(count < 64 ? count : 64));
    std::size_t offset = 0;
    for (unsigned i = 0; i < pick && offset + 6 <= size; ++i) {
        offset += 4 + Word(entries + offset + 4);
    }
    if (offset + 6 <= size) {
        auto length = static_cast<api::WORD>(Word(entries + offset + 4));
        Value(&length);
        PutWord(entries + offset + 4, length);
    }
    ::OSUnlockObject(buffer);
}

api::STATUS LNPUBLIC NIFReadEntries(api::HCOLLECTION collection, api::COLLECTIONPOSITION* position,
                                    api::WORD skipNavigator, api::DWORD skipCount,
                                    api::WORD returnNavigator, api::DWORD returnCount,
                                    api::DWORD mask, api::DHANDLE* buffer, api::WORD* bufferLength,
                                    api::DWORD* skipped, api::DWORD* returned, api::WORD* signal) {
    CHECKED_FIRST();
    const api::COLLECTIONPOSITION before = *position;
    const api::STATUS status = ::NIFReadEntries(collection, position, skipNavigator, skipCount,
                                                 returnNavigator, returnCount, mask, buffer,
                                                 bufferLength, skipped, returned, signal);
    if (status == 0 && buffer != nullptr && returned != nullptr) AlterEntries(*buffer, *returned);
    Value(returned);
    if (signal != nullptr) {
        switch (choices.Next(8)) {
            case 1: *signal |= api::SIGNAL_MORE_TO_DO; break;
            case 2: *signal &= static_cast<api::WORD>(~api::SIGNAL_MORE_TO_DO); break;
            case 3: *signal |= api::SIGNAL_MORE_TO_DO; *position = before; break;
            default: break;
        }
    }
    return Status(status);
}

api::STATUS LNPUBLIC NIFCloseCollection(api::HCOLLECTION collection) {
    return Status(::NIFCloseCollection(collection));
}

// Names: a record or match is never moved to another place inside the buffer, which the
// library itself would then read from.

api::STATUS LNPUBLIC NAMELookup2(const char* server, api::DWORD flags, api::WORD spaces,
                                 const char* nameSpaces, api::WORD nameCount, const char* names,
                                 api::WORD itemCount, const char* items, api::DHANDLE* buffer) {
    CHECKED_FIRST();
    const api::STATUS status = ::NAMELookup2(server, flags, spaces, nameSpaces, nameCount, names,
                                              itemCount, items, buffer);
    Value(buffer);
    return Status(status);
}

void* LNPUBLIC NAMELocateNextName2(void* lookup, void* previous, api::DWORD* count) {
    void* name = ::NAMELocateNextName2(lookup, previous, count);
    Value(count);
    return Pointer(name);
}

void* LNPUBLIC NAMELocateNextMatch2(void* lookup, void* name, void* previous) {
    void* match = ::NAMELocateNextMatch2(lookup, name, previous);
    if (choices.Next(10) == 1 && previous != nullptr) return previous;  // the same match again
    return Pointer(match);
}

api::STATUS LNPUBLIC NAMEGetTextItem2(void* match, api::WORD item, api::WORD member, char* buffer,
                                      api::WORD length) {
    CHECKED_FIRST();
    const api::STATUS status = ::NAMEGetTextItem2(match, item, member, buffer, length);
    Text(buffer, length);
    return Status(status);
}

api::STATUS LNPUBLIC DNAbbreviate(api::DWORD flags, const char* templateName, const char* name,
                                  char* out, api::WORD size, api::WORD* length) {
    CHECKED_FIRST();
    return TextAndLength(::DNAbbreviate(flags, templateName, name, out, size, length), out, size,
                         length);
}

// Activity: a record's own lengths may claim more than its table holds, never a table larger
// than the library handed over.

struct Scan {
    api::ACTIVITYSTREAMACTION action = nullptr;
    void* userData = nullptr;
    std::vector<unsigned char> copy;
} scan;

void* AlteredRecord(void* record) {
    if (record == nullptr || choices.Next(6) != 1) return record;
    const auto* table = static_cast<const unsigned char*>(record);
    const std::size_t length = Word(table);
    scan.copy.assign(table, table + (length < 4 ? 4 : length));
    const unsigned field = choices.Next(static_cast<unsigned>(scan.copy.size() / 2));
    auto value = static_cast<api::WORD>(Word(&scan.copy[2 * field]));
    Value(&value);
    PutWord(&scan.copy[2 * field], value);
    // The table's own length never claims more than the copy holds.
    if (Word(scan.copy.data()) > scan.copy.size()) PutWord(scan.copy.data(), scan.copy.size());
    return scan.copy.data();
}

api::STATUS LNCALLBACK ActivityRecord(const char* name, api::DWORD index, api::DWORD flags,
                                      api::WORD key, const api::TIMEDATE* time, void* record,
                                      void* /*userData*/) {
    api::STATUS status = 0;
    switch (choices.Next(12)) {
        case 1: return 0;  // left out
        case 2: status = scan.action(nullptr, index, flags, key, time, record, scan.userData); break;
        case 3: status = scan.action(name, index, flags, key, nullptr, record, scan.userData); break;
        case 4: status = scan.action(name, index, flags, key, time, nullptr, scan.userData); break;
        case 5:
            scan.action(name, index, flags, key, time, record, scan.userData);
            status = scan.action(name, index, flags, key, time, record, scan.userData);
            break;
        default:
            status = scan.action(name, index, flags, key, time, AlteredRecord(record),
                                 scan.userData);
            break;
    }
    return choices.Next(8) == 1 ? 0 : status;  // the stop asked for, ignored
}

api::STATUS LNPUBLIC LogOpenActivityStream(void** stream, const char* server, const char* path,
                                           const char* names, api::DWORD flags,
                                           const api::TIMEDATE_PAIR* range) {
    CHECKED_FIRST();
    const api::STATUS status = ::LogOpenActivityStream(stream, server, path, names, flags, range);
    if (choices.Next(16) == 1) *stream = nullptr;
    return Status(status);
}

api::STATUS LNPUBLIC LogEnumActivityStream(void* stream, api::ACTIVITYSTREAMACTION action,
                                           void* userData, api::ACTIVITYSTREAMPOSITION* position,
                                           api::DWORD size) {
    CHECKED_FIRST();
    scan.action = action;
    scan.userData = userData;
    return Status(::LogEnumActivityStream(stream, ActivityRecord, nullptr, position, size));
}

api::STATUS LNPUBLIC LogCloseActivityStream(void* stream) {
    return Status(::LogCloseActivityStream(stream));
}

}  // namespace altered

notes::binding::NotesFunctions AlteredFunctions() {
    notes::binding::NotesFunctions table;
#define DXL_ALTERED_FUNCTION(name) table.name = &altered::name;
    DXL_NOTES_FUNCTIONS(DXL_ALTERED_FUNCTION)
#undef DXL_ALTERED_FUNCTION
    return table;
}

// The sample environment, read once, handed to the runtime as its files for every run.
struct Sample {
    std::vector<std::pair<std::string, std::string>> files;
    fs::path output;
};

const Sample& TheSample() {
    static const Sample sample = [] {
        Sample read;
        const fs::path root = fs::path(DXL_SOURCE_DIR) / "examples" / "acme";
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (!entry.is_regular_file()) continue;
            read.files.emplace_back(
                (fs::path("fuzz") / fs::relative(entry.path(), root)).generic_string(),
                notessim::ReadWholeFile(entry.path()).value_or(""));
        }
        read.output = fs::temp_directory_path() / ("fuzz-library-answers-" +
                                                   std::to_string(::getpid()));
        return read;
    }();
    return sample;
}

// The run log: whole lines of UTF-8, each ended by CR LF.
bool LogIsWhole(const std::string& log) {
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = log.find("\r\n", start);
        if (end == std::string::npos || end - start > driver::kLogLineBytes - 2) return false;
        const std::string line = log.substr(start, end - start);
        if (line.find_first_of("\r\n") != std::string::npos) return false;
        for (std::size_t at = 0; at < line.size();) {
            if (!platform::DecodeUtf8(line, at)) return false;
        }
        start = end + 2;
    }
    return true;
}

bool WellFormedXml(const std::string& text) {
    tinyxml2::XMLDocument document;
    return document.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
}

// Rows end in CR LF outside quotes, each one whole.
bool RowsAreWhole(const std::string& rows) {
    bool quoted = false;
    for (const char c : rows) {
        if (c == '"') quoted = !quoted;
    }
    return !quoted && (rows.empty() || rows.ends_with("\r\n"));
}

const char* const kModes[][4] = {
    {"-servers", nullptr},
    {"-catalog", "-s", "Hub01/Acme", nullptr},
    {"-logscan", nullptr},
    {"-brenvik", "-p", "acme-catalog.nsf", nullptr},
    {"-nab", nullptr},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const Sample& sample = TheSample();
    const unsigned setup = data[0];
    choices = {data + 1, size - 1, 0};
    dxlAltered = false;
    altered::search = {};
    altered::hook = {};
    altered::dxlExport = {};
    altered::scan = {};

    fs::remove_all(sample.output);
    fs::create_directories(sample.output);
    const auto& mode = kModes[setup % std::size(kModes)];
    std::vector<std::string> arguments = {"=fuzz/notes.ini"};
    for (const char* const* argument = mode; *argument != nullptr; ++argument) {
        arguments.emplace_back(*argument);
    }
    if ((setup & 0x08) != 0) {
        for (const char* argument : {"-id", "collector.id", "-password", "acme-collect"}) {
            arguments.emplace_back(argument);
        }
    }
    if ((setup & 0x10) != 0) arguments.emplace_back("-debug");
    if ((setup & 0x20) != 0) {
        for (const char* argument : {"-rowLimit", "5"}) arguments.emplace_back(argument);
    }
    arguments.emplace_back("-o");
    arguments.emplace_back(sample.output.string());

    notes::binding::UseLinkedFunctions(AlteredFunctions());
    catalog::RetryWait() = [](unsigned) {};
    // Small batches and chunks make every loop of the library's run more than once.
    const bool small = (setup & 0x40) != 0;
    testsupport::RunMainInProcess(arguments, [&] {
        for (const auto& [path, content] : sample.files) {
            notessim::SetVirtualFile(
                path, path == "fuzz/notes.ini" && small
                          ? content + "SimViewBatch=2\nSimDxlChunk=700\nSimExtendedDelivery=1\n"
                          : content);
        }
    });

    const auto content = [&](const char* name) {
        return notessim::ReadWholeFile(sample.output / name).value_or("");
    };
    const std::string log = content("log.txt");
    if (!LogIsWhole(log)) __builtin_trap();
    const bool failed = log.find("#ERROR# - ") != std::string::npos;
    const auto published = [&](const char* name) { return fs::exists(sample.output / name); };
    for (const char* name : {"catalog.dxl", "anonMap.dxl"}) {
        if (published(name) && !dxlAltered && !WellFormedXml(content(name))) __builtin_trap();
    }
    if (published("nab.xml") && !WellFormedXml(content("nab.xml"))) __builtin_trap();
    if (published("logscan.txt") && !RowsAreWhole(content("logscan.txt"))) __builtin_trap();
    const std::string first = mode[0];
    const bool nothing = (first == "-catalog" || first == "-brenvik") ? !published("catalog.dxl")
                         : first == "-nab"                            ? !published("nab.xml")
                         : first == "-servers" ? content("servers.txt").empty()
                                               : false;
    if (nothing && !failed) __builtin_trap();
    return 0;
}
