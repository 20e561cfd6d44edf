// Finding an item of an ITEM_TABLE by name, reading only inside the table's own length. Item
// names compare without regard to ASCII letter case; the first item of the name wins; the value
// handed out follows its type word. Both the library binding and the simulated runtime read
// summaries this way.
#pragma once

#include <cstdint>
#include <cstring>

#include "notes/NotesPlatform.h"

namespace notes {

inline bool FindItemInTable(const void* itemTable, const char* itemName, const char** value,
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

}  // namespace notes
