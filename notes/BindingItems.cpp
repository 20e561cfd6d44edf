// Items of notes and summaries, and text lists.
#include <cstring>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {
namespace {

std::uint16_t ReadWord(const unsigned char* bytes) {
    std::uint16_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

bool SameNameIgnoringCase(const unsigned char* name, std::size_t length, const char* wanted) {
    for (std::size_t i = 0; i < length; ++i) {
        const unsigned char a = name[i];
        const unsigned char b = static_cast<unsigned char>(wanted[i]);
        if (b == 0) return false;
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(a) != lower(b)) return false;
    }
    return wanted[length] == '\0';
}

}  // namespace

using binding::Api;

bool GetTimeItem(NoteHandle note, const char* itemName, TimeDate* value) {
    return Api().NSFItemGetTime(note, itemName, reinterpret_cast<notesapi::TIMEDATE*>(value)) != 0;
}

// The summary is read here from its documented layout rather than through the library's
// NSFLocateSummaryValue, whose value pointer, length and name rules are not documented. Item
// names compare without regard to ASCII case; the value handed out follows its type word.
bool FindSummaryItem(const void* itemTable, const char* itemName, const char** value,
                     std::uint16_t* valueLength, std::uint16_t* dataType) {
    if (itemTable == nullptr || itemName == nullptr) return false;
    const auto* table = static_cast<const unsigned char*>(itemTable);
    const std::size_t total = ReadWord(table);
    const std::size_t items = ReadWord(table + 2);
    std::size_t data = kItemTableHeaderSize + items * kItemDescriptorSize;
    if (data > total) return false;
    for (std::size_t i = 0; i < items; ++i) {
        const unsigned char* descriptor = table + kItemTableHeaderSize + i * kItemDescriptorSize;
        const std::size_t nameLength = ReadWord(descriptor);
        const std::size_t length = ReadWord(descriptor + 2);
        if (data + nameLength + length > total) return false;
        if (length >= 2 && SameNameIgnoringCase(table + data, nameLength, itemName)) {
            const unsigned char* found = table + data + nameLength;
            if (dataType != nullptr) *dataType = ReadWord(found);
            if (value != nullptr) *value = reinterpret_cast<const char*>(found + 2);
            if (valueLength != nullptr) *valueLength = static_cast<std::uint16_t>(length - 2);
            return true;
        }
        data += nameLength + length;
    }
    return false;
}

NotesStatus SetTextItem(NoteHandle note, const char* itemName, const char* text,
                        std::uint16_t textLength) {
    return Api().NSFItemSetText(note, itemName, text, textLength);
}

std::uint16_t CountListEntries(const void* list, bool prefixed) {
    return Api().ListGetNumEntries(const_cast<void*>(list), prefixed ? 1 : 0);
}

NotesStatus GetListEntryText(const void* list, bool prefixed, std::uint16_t entry,
                             const char** text, std::uint16_t* textLength) {
    char* found = nullptr;
    const NotesStatus status =
        Api().ListGetText(const_cast<void*>(list), prefixed ? 1 : 0, entry, &found, textLength);
    if (status == 0 && text != nullptr) *text = found;
    return status;
}

}  // namespace notes
