#include "catalog/NoteSelection.h"

#include <cstring>

#include "notes/NotesStatuses.h"
#include "platform/StopRequest.h"

namespace catalog {
namespace {

constexpr std::uint16_t kDocumentsOnly = 1;

}  // namespace

notes::NotesStatus CollectNoteId(void* context, const void* match, const void* /*summary*/) {
    if (platform::StopRequested()) return notes::kStatusStopped;
    const notes::IdTableHandle table = *static_cast<const notes::IdTableHandle*>(context);
    notes::NoteId id = 0;
    std::memcpy(&id, static_cast<const unsigned char*>(match) + notes::kSearchMatchNoteIdOffset,
                sizeof id);
    return notes::InsertIdIntoTable(table, id, nullptr);
}

notes::NotesStatus CollectNotes(notes::DatabaseHandle database, std::string_view formulaText,
                                NoteSelection& selection) {
    std::uint16_t unused = 0;  // compiled length and error details are not used
    notes::NotesStatus status = notes::CompileFormula(
        nullptr, 0, formulaText.data(), static_cast<std::uint16_t>(formulaText.size()),
        selection.formula.Receive(), &unused, &unused, &unused, &unused, &unused, &unused);
    if (status != 0) return status;

    // A table that could not be created is a failure too: the search would have nowhere to go.
    status = notes::CreateIdTable(0, selection.idTable.Receive());
    if (status != 0) {
        selection.formula.Reset();
        return status;
    }

    notes::IdTableHandle table = selection.idTable.Get();
    status = notes::SearchDatabase(database, selection.formula.Get(), nullptr, 0, kDocumentsOnly,
                                   nullptr, CollectNoteId, &table, nullptr);
    if (status != 0) {
        notes::DestroyIdTable(selection.idTable.Release());
        selection.formula.Reset();
    }
    return status;
}

}  // namespace catalog
