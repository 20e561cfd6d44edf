// Compiling selection formulas and searching a database with one.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "notes/NotesPlatform.h"
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
constexpr std::uint8_t kMatchFlagSelected = 0x01;

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

notes::TimeDate Now() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto hundredths =
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count() / 10;
    constexpr long long kPerDay = 24LL * 60 * 60 * 100;
    constexpr long long kJulianDayOf1970 = 2440588;
    notes::TimeDate time{};
    time.innards[0] = static_cast<std::uint32_t>(hundredths % kPerDay);
    time.innards[1] = static_cast<std::uint32_t>(hundredths / kPerDay + kJulianDayOf1970);
    return time;
}

}  // namespace
}  // namespace notessim

namespace notes {

using namespace notessim;

NotesStatus CompileFormula(const char* /*name*/, std::uint16_t /*nameLength*/, const char* text,
                           std::uint16_t textLength, FormulaHandle* formula,
                           std::uint16_t* formulaLength, std::uint16_t* compileError,
                           std::uint16_t* errorLine, std::uint16_t* errorColumn,
                           std::uint16_t* errorOffset, std::uint16_t* errorLength) {
    SIM_FAULT_POINT("CompileFormula");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
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
        SetOutput(formulaLength, 0);
        SetOutput(compileError, kStatusFormulaSyntax);
        SetOutput(errorLine, line);
        SetOutput(errorColumn, column);
        SetOutput(errorOffset, error.offset);
        SetOutput(errorLength, error.length);
        SetStatusDetail(kStatusFormulaSyntax, "Formula error: " + LibraryTextToUtf8(error.message) +
                                                  " (line " + std::to_string(line) + ", column " +
                                                  std::to_string(column) + ")");
        return kStatusFormulaSyntax;
    }
    compiled->source = std::string(source);
    SetOutput(compileError, 0);
    SetOutput(errorLine, 0);
    SetOutput(errorColumn, 0);
    SetOutput(errorOffset, 0);
    SetOutput(errorLength, 0);
    SetOutput(formulaLength, source.size());
    *formula = RegisterHandle(HandleKind::memory, std::move(compiled));
    return 0;
}

NotesStatus SearchDatabase(DatabaseHandle database, FormulaHandle formula,
                           const char* /*viewTitle*/, std::uint16_t /*searchFlags*/,
                           std::uint16_t noteClassMask, const TimeDate* /*since*/,
                           SearchCallback callback, void* context, TimeDate* until) {
    SIM_FAULT_POINT("SearchDatabase");
    return notessim::SearchNotes(database, formula, noteClassMask, callback, context, until, false);
}

}  // namespace notes

namespace notessim {

using namespace notes;

NotesStatus SearchNotes(DatabaseHandle database, FormulaHandle formula,
                        std::uint16_t noteClassMask, SearchCallback callback, void* context,
                        TimeDate* until, bool everyNote) {
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
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
    const auto deliver = [&](NoteId id, std::uint16_t noteClass, bool selected) {
        unsigned char record[kMatchRecordSize] = {};
        Put(record, 0, &data->replicaId, 8);
        Put(record, kSearchMatchNoteIdOffset, &id, 4);
        Put(record, 48, &noteClass, 2);
        record[50] = selected ? kMatchFlagSelected : 0;
        return callback(context, record, nullptr);
    };
    NoteId largest = 0;
    for (const SimNote& note : data->notes) {
        largest = std::max(largest, note.id);
        const bool selected = InClassMask(note, noteClassMask) &&
                              (root == nullptr || FormulaSelects(*root, note.items));
        if (!selected && !everyNote) continue;
        if (const NotesStatus status =
                deliver(note.id, note.design ? kClassDesign : kClassDocument, selected);
            status != 0) {
            return status;
        }
    }
    if (everyNote) {
        if (const NotesStatus status = deliver(largest + 4, kClassDeletionStub, false);
            status != 0) {
            return status;
        }
    }
    if (until != nullptr) *until = Now();
    return 0;
}

}  // namespace notessim
