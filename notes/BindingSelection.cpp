// Formulas and database searches.
#include "notes/ActiveCall.h"
#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {
namespace {

using Search = binding::ActiveCall<SearchCallback>;

// A formula search may also deliver notes that do not match (and deleted ones when a time is
// given); only matches reach the program. A match without its record cannot be read: the search
// fails rather than leave a note out.
notesapi::STATUS LNCALLBACK RelaySearchMatch(void* /*param*/, notesapi::SEARCH_MATCH* match,
                                             notesapi::ITEM_TABLE* summary) {
    Search* search = Search::Find();
    if (search == nullptr) return kStatusValueOutOfRange;
    if (search->failure() != 0) return search->failure();
    if (match == nullptr) return search->Keep(kStatusValueOutOfRange);
    const auto* bytes = reinterpret_cast<const unsigned char*>(match);
    if ((bytes[notesapi::kSearchMatchRetFlagsOffset] & notesapi::SE_FMATCH) == 0) return 0;
    return search->Keep(search->callback()(search->context(), match, summary));
}

}  // namespace

using binding::Api;

static_assert(notesapi::kSearchMatchNoteIdOffset == kSearchMatchNoteIdOffset);

NotesStatus CompileFormula(const char* name, std::uint16_t nameLength, const char* text,
                           std::uint16_t textLength, FormulaHandle* formula,
                           std::uint16_t* formulaLength, std::uint16_t* compileError,
                           std::uint16_t* errorLine, std::uint16_t* errorColumn,
                           std::uint16_t* errorOffset, std::uint16_t* errorLength) {
    binding::Received<notesapi::FORMULAHANDLE> compiled;
    return binding::CheckedHandle(
        "NSFFormulaCompile",
        Api().NSFFormulaCompile(const_cast<char*>(name), nameLength, text, textLength,
                                compiled.Target(), formulaLength, compileError, errorLine,
                                errorColumn, errorOffset, errorLength),
        compiled, formula);
}

NotesStatus SearchDatabase(DatabaseHandle database, FormulaHandle formula, const char* viewTitle,
                           std::uint16_t searchFlags, std::uint16_t noteClassMask,
                           const TimeDate* since, SearchCallback callback, void* context,
                           TimeDate* until) {
    Search search(callback, context);
    notesapi::TIMEDATE sinceTime{};
    if (since != nullptr) sinceTime = {{since->innards[0], since->innards[1]}};
    const NotesStatus status = binding::Checked(
        "NSFSearch",
        Api().NSFSearch(database, formula, const_cast<char*>(viewTitle), searchFlags, noteClassMask,
                        since != nullptr ? &sinceTime : nullptr, RelaySearchMatch, &search,
                        reinterpret_cast<notesapi::TIMEDATE*>(until)));
    // A library that went on past a failed callback and reported success has not searched.
    return status != 0 ? status : search.failure();
}

}  // namespace notes
