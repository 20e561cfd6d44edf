// Reading and setting items of an opened note.
#include <algorithm>
#include <cstring>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/OpenNotes.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

using namespace notessim;

BOOL LNPUBLIC NSFItemGetTime(notesapi::NOTEHANDLE note, const char* itemName,
                             TIMEDATE* retTime) try {
    const OpenNoteObject* open = FindOpenNote(note, "GetTimeItem");
    if (open == nullptr || itemName == nullptr) return 0;
    const SimItem* item = FindItem(open->note.items, itemName);
    if (item == nullptr || item->type != notesapi::TYPE_TIME ||
        item->value.size() != sizeof(TIMEDATE)) {
        return 0;
    }
    if (retTime != nullptr) std::memcpy(retTime, item->value.data(), sizeof(TIMEDATE));
    return 1;
} catch (...) {
    CaughtException("NSFItemGetTime");
    return 0;
}

// Replaces every item of that name with one text item, added after the note's other items.
STATUS LNPUBLIC NSFItemSetText(notesapi::NOTEHANDLE note, const char* itemName, const char* text,
                               WORD textLength) try {
    SIM_FAULT_POINT("SetTextItem");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    OpenNoteObject* open = FindOpenNote(note, "SetTextItem");
    if (open == nullptr || itemName == nullptr) return kStatusInvalidHandle;
    std::vector<SimItem>& items = open->note.items;
    const std::string name = itemName;
    std::erase_if(items, [&](const SimItem& item) { return EqualsIgnoringCase(item.name, name); });
    SimItem item;
    item.name = name;
    item.type = notesapi::TYPE_TEXT;
    if (text != nullptr) item.value.assign(text, textLength);
    items.push_back(std::move(item));
    return 0;
} catch (...) {
    return CaughtException("NSFItemSetText");
}
