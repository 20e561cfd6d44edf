// Reading item values handed out by the runtime: summary ITEM_TABLEs and text lists.
#include <cstring>
#include <string_view>

#include "notes/ItemTableSearch.h"
#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace notessim {
namespace {

std::uint16_t ReadWord(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

const unsigned char* ListStart(const void* list, bool prefixed) {
    return static_cast<const unsigned char*>(list) + (prefixed ? 2 : 0);
}

}  // namespace
}  // namespace notessim

namespace notes {

using namespace notessim;

bool FindSummaryItem(const void* itemTable, const char* itemName, const char** value,
                     std::uint16_t* valueLength, std::uint16_t* dataType) {
    return FindItemInTable(itemTable, itemName, value, valueLength, dataType);
}

std::uint16_t CountListEntries(const void* list, bool prefixed) {
    return list == nullptr ? 0 : ReadWord(ListStart(list, prefixed));
}

NotesStatus GetListEntryText(const void* list, bool prefixed, std::uint16_t entry,
                             const char** text, std::uint16_t* textLength) {
    SIM_FAULT_POINT("GetListEntryText");
    if (list == nullptr) return kStatusNotInList;
    const unsigned char* start = ListStart(list, prefixed);
    const std::uint16_t count = ReadWord(start);
    if (entry >= count) return kStatusNotInList;
    std::size_t offset = 2 + std::size_t{count} * 2;
    for (std::uint16_t i = 0; i < entry; ++i) offset += ReadWord(start + 2 + i * 2);
    if (text != nullptr) *text = reinterpret_cast<const char*>(start + offset);
    if (textLength != nullptr) *textLength = ReadWord(start + 2 + entry * 2);
    return 0;
}

}  // namespace notes
