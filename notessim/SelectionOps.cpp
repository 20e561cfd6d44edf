// Compiling selection formulas and searching a database with one.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Runtime.h"
#include "notessim/Selection.h"
#include "notessim/Servers.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"

namespace notessim {
namespace {

constexpr std::uint16_t kClassDocument = 0x0001;
constexpr std::uint16_t kClassDesign = 0x0008;
constexpr std::uint16_t kClassDeletionStub = 0x8000 | kClassDocument;

// Search match record: database replica ID (bytes 0-7), note modification time (8-15), note ID
// (16-19), originator ID (20-47), note class (48-49), match flags (50), privileges (51),
// reserved (52-53).
constexpr std::size_t kMatchRecordSize = 54;

void Put(unsigned char* record, std::size_t at, const void* value, std::size_t size) {
    std::memcpy(record + at, value, size);
}

bool InClassMask(const SimNote& note, std::uint16_t mask) {
    return note.design ? (mask & ~kClassDocument & 0x7FFF) != 0 : (mask & kClassDocument) != 0;
}

void SetOutput(std::uint16_t* output, std::size_t value) {
    if (output != nullptr) *output = static_cast<std::uint16_t>(value > 0xFFFF ? 0xFFFF : value);
}

TIMEDATE Now() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto hundredths =
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count() / 10;
    constexpr long long kPerDay = 24LL * 60 * 60 * 100;
    constexpr long long kJulianDayOf1970 = 2440588;
    TIMEDATE time{};
    time.Innards[0] = static_cast<std::uint32_t>(hundredths % kPerDay);
    time.Innards[1] = static_cast<std::uint32_t>(hundredths / kPerDay + kJulianDayOf1970);
    return time;
}

// The notes of the class mask that the formula selects, one callback each. With `everyNote`
// every note of the database is delivered, the matches with match flag SE_FMATCH and the others
// without it, then a deletion stub of a note the database does not hold, as a real library may
// deliver them.
STATUS SearchNotes(DHANDLE database, DHANDLE formula, WORD noteClassMask,
                   notesapi::NSFSEARCHPROC callback, void* context, TIMEDATE* until,
                   bool everyNote) {
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    const OpenDatabaseObject* opened = FindOpenDatabase(database, "SearchDatabase");
    if (opened == nullptr || callback == nullptr) return kStatusInvalidHandle;
    // Copies, so that a callback that releases the formula or closes the database is harmless.
    const std::shared_ptr<const SimDatabase> data = opened->database;
    std::unique_ptr<FormulaNode> root;
    if (formula != 0) {
        const CompiledFormula* compiled = FindCompiledFormula(formula, "SearchDatabase");
        if (compiled == nullptr) return kStatusInvalidHandle;
        root = std::make_unique<FormulaNode>(compiled->root);
    }
    const auto deliver = [&](NOTEID id, std::uint16_t noteClass, bool selected) {
        unsigned char record[kMatchRecordSize] = {};
        Put(record, 0, &data->replicaId, 8);
        Put(record, notesapi::kSearchMatchNoteIdOffset, &id, 4);
        Put(record, 48, &noteClass, 2);
        record[notesapi::kSearchMatchRetFlagsOffset] = selected ? notesapi::SE_FMATCH : 0;
        return callback(context, reinterpret_cast<notesapi::SEARCH_MATCH*>(record), nullptr);
    };
    NOTEID largest = 0;
    for (const SimNote& note : data->notes) {
        largest = std::max(largest, note.id);
        const bool selected = InClassMask(note, noteClassMask) &&
                              (root == nullptr || FormulaSelects(*root, note.items));
        if (!selected && !everyNote) continue;
        if (const STATUS status =
                deliver(note.id, note.design ? kClassDesign : kClassDocument, selected);
            status != 0) {
            return status;
        }
    }
    if (everyNote) {
        if (const STATUS status = deliver(largest + 4, kClassDeletionStub, false); status != 0) {
            return status;
        }
    }
    if (until != nullptr) *until = Now();
    return 0;
}

}  // namespace
}  // namespace notessim

using namespace notessim;

STATUS LNPUBLIC NSFFormulaCompile(char* /*name*/, WORD /*nameLength*/, const char* text,
                                  WORD textLength, notesapi::FORMULAHANDLE* retFormula,
                                  WORD* retFormulaLength, STATUS* retCompileError, WORD* retLine,
                                  WORD* retColumn, WORD* retOffset, WORD* retLength) try {
    SIM_FAULT_POINT("CompileFormula");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    const std::string_view source(text == nullptr ? "" : text, text == nullptr ? 0 : textLength);
    auto compiled = std::make_unique<CompiledFormula>();
    FormulaError error;
    if (!ParseSelectionFormula(source, compiled->root, error)) {
        const std::string_view before = source.substr(0, error.offset);
        const std::size_t lineStart = before.rfind('\n');
        const std::size_t line =
            1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
        const std::size_t column =
            1 + (lineStart == std::string_view::npos ? error.offset : error.offset - lineStart - 1);
        // The outputs may all point to one variable; the last one written wins.
        SetOutput(retFormulaLength, 0);
        SetOutput(retCompileError, kStatusFormulaSyntax);
        SetOutput(retLine, line);
        SetOutput(retColumn, column);
        SetOutput(retOffset, error.offset);
        SetOutput(retLength, error.length);
        return Diagnose(kStatusFormulaSyntax, "Formula error: " +
                                                  LibraryTextToUtf8(error.message) + " (line " +
                                                  std::to_string(line) + ", column " +
                                                  std::to_string(column) + ")");
    }
    compiled->source = std::string(source);
    SetOutput(retCompileError, 0);
    SetOutput(retLine, 0);
    SetOutput(retColumn, 0);
    SetOutput(retOffset, 0);
    SetOutput(retLength, 0);
    SetOutput(retFormulaLength, source.size());
    *retFormula = RegisterHandle(HandleKind::memory, std::move(compiled));
    return 0;
} catch (...) {
    return CaughtException("NSFFormulaCompile");
}

STATUS LNPUBLIC NSFSearch(notesapi::DBHANDLE database, notesapi::FORMULAHANDLE formula,
                          char* /*viewTitle*/, WORD /*searchFlags*/, WORD noteClassMask,
                          TIMEDATE* /*since*/, notesapi::NSFSEARCHPROC callback, void* param,
                          TIMEDATE* retUntil) try {
    SIM_FAULT_POINT("SearchDatabase");
    return SearchNotes(database, formula, noteClassMask, callback, param, retUntil,
                       ExtendedDelivery());
} catch (...) {
    return CaughtException("NSFSearch");
}
