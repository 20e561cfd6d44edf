// Reading and setting items of an opened note.
#include <algorithm>
#include <cstring>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/OpenNotes.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace notes {

using namespace notessim;

bool GetTimeItem(NoteHandle note, const char* itemName, TimeDate* value) {
    const OpenNoteObject* open = FindOpenNote(note, "GetTimeItem");
    if (open == nullptr || itemName == nullptr) return false;
    const SimItem* item = FindItem(open->note.items, itemName);
    if (item == nullptr || item->type != kTypeTime || item->value.size() != sizeof(TimeDate)) {
        return false;
    }
    if (value != nullptr) std::memcpy(value, item->value.data(), sizeof(TimeDate));
    return true;
}

// Replaces every item of that name with one text item, added after the note's other items.
NotesStatus SetTextItem(NoteHandle note, const char* itemName, const char* text,
                        std::uint16_t textLength) {
    SIM_FAULT_POINT("SetTextItem");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    OpenNoteObject* open = FindOpenNote(note, "SetTextItem");
    if (open == nullptr || itemName == nullptr) return kStatusInvalidHandle;
    std::vector<SimItem>& items = open->note.items;
    const std::string name = itemName;
    std::erase_if(items, [&](const SimItem& item) { return EqualsIgnoringCase(item.name, name); });
    SimItem item;
    item.name = name;
    item.type = kTypeText;
    if (text != nullptr) item.value.assign(text, textLength);
    items.push_back(std::move(item));
    return 0;
}

}  // namespace notes
