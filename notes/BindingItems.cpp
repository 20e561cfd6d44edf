// Items of notes and summaries, and text lists.
#include <cstring>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {

using binding::Api;

bool GetTimeItem(NoteHandle note, const char* itemName, TimeDate* value) {
    return Api().NSFItemGetTime(note, itemName, reinterpret_cast<notesapi::TIMEDATE*>(value)) != 0;
}

// The summary is read here from its documented layout rather than through the library's
// NSFLocateSummaryValue, whose value pointer, length and name rules are not documented: only
// inside the table's own length, names compared without regard to ASCII letter case, the first
// item of the name winning, the value handed out after its type word.
bool FindSummaryItem(const void* itemTable, const char* itemName, const char** value,
                     std::uint16_t* valueLength, std::uint16_t* dataType) {
    if (itemTable == nullptr || itemName == nullptr) return false;
    const auto* table = static_cast<const unsigned char*>(itemTable);
    const auto word = [](const unsigned char* at) {
        return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
    };
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    const std::size_t total = word(table);
    const std::size_t count = word(table + 2);
    std::size_t offset = kItemTableHeaderSize + count * kItemDescriptorSize;
    const std::size_t wantedLength = std::strlen(itemName);
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* descriptor = table + kItemTableHeaderSize + i * kItemDescriptorSize;
        const std::size_t nameLength = word(descriptor);
        const std::size_t fullValueLength = word(descriptor + 2);
        if (offset + nameLength + fullValueLength > total) return false;
        const unsigned char* name = table + offset;
        const unsigned char* typed = name + nameLength;
        offset += nameLength + fullValueLength;
        if (fullValueLength < 2 || nameLength != wantedLength) continue;
        bool same = true;
        for (std::size_t c = 0; c < nameLength && same; ++c) {
            same = lower(name[c]) == lower(static_cast<unsigned char>(itemName[c]));
        }
        if (!same) continue;
        if (value != nullptr) *value = reinterpret_cast<const char*>(typed + 2);
        if (valueLength != nullptr) *valueLength = static_cast<std::uint16_t>(fullValueLength - 2);
        if (dataType != nullptr) *dataType = word(typed);
        return true;
    }
    return false;
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
