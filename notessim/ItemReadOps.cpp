// Reading item values handed out by the runtime: summary ITEM_TABLEs and text lists.
#include <cstring>
#include <string_view>

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

// Item names compare without regard to ASCII letter case; the first item of the name wins.
bool FindSummaryItem(const void* itemTable, const char* itemName, const char** value,
                     std::uint16_t* valueLength, std::uint16_t* dataType) {
    if (itemTable == nullptr || itemName == nullptr) return false;
    const auto* table = static_cast<const unsigned char*>(itemTable);
    const std::uint16_t total = ReadWord(table);
    const std::uint16_t count = ReadWord(table + 2);
    std::size_t offset = kItemTableHeaderSize + std::size_t{count} * kItemDescriptorSize;
    for (std::uint16_t i = 0; i < count; ++i) {
        const unsigned char* descriptor = table + kItemTableHeaderSize + i * kItemDescriptorSize;
        const std::uint16_t nameLength = ReadWord(descriptor);
        const std::uint16_t fullValueLength = ReadWord(descriptor + 2);
        if (offset + nameLength + fullValueLength > total) return false;
        const std::string_view name(reinterpret_cast<const char*>(table + offset), nameLength);
        const unsigned char* typed = table + offset + nameLength;
        offset += nameLength + fullValueLength;
        if (fullValueLength < 2 || !EqualsIgnoringCase(name, itemName)) continue;
        if (value != nullptr) *value = reinterpret_cast<const char*>(typed + 2);
        if (valueLength != nullptr) *valueLength = static_cast<std::uint16_t>(fullValueLength - 2);
        if (dataType != nullptr) *dataType = ReadWord(typed);
        return true;
    }
    return false;
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
