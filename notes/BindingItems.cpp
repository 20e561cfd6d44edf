// Items of notes and summaries, and text lists.
#include "notes/ItemTableSearch.h"
#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {

using binding::Api;

bool GetTimeItem(NoteHandle note, const char* itemName, TimeDate* value) {
    return Api().NSFItemGetTime(note, itemName, reinterpret_cast<notesapi::TIMEDATE*>(value)) != 0;
}

// The summary is read here from its documented layout rather than through the library's
// NSFLocateSummaryValue, whose value pointer, length and name rules are not documented.
bool FindSummaryItem(const void* itemTable, const char* itemName, const char** value,
                     std::uint16_t* valueLength, std::uint16_t* dataType) {
    return FindItemInTable(itemTable, itemName, value, valueLength, dataType);
}

NotesStatus SetTextItem(NoteHandle note, const char* itemName, const char* text,
                        std::uint16_t textLength) {
    return binding::Checked("NSFItemSetText",
                            Api().NSFItemSetText(note, itemName, text, textLength));
}

std::uint16_t CountListEntries(const void* list, bool prefixed) {
    return Api().ListGetNumEntries(const_cast<void*>(list), prefixed ? 1 : 0);
}

NotesStatus GetListEntryText(const void* list, bool prefixed, std::uint16_t entry,
                             const char** text, std::uint16_t* textLength) {
    char* found = nullptr;
    const NotesStatus status = binding::Checked(
        "ListGetText",
        Api().ListGetText(const_cast<void*>(list), prefixed ? 1 : 0, entry, &found, textLength));
    if (status == 0 && text != nullptr) *text = found;
    return status;
}

}  // namespace notes
