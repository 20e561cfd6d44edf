// Hand-built ITEM_TABLE records for the handler's tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "notes/NotesPlatform.h"

namespace logscantest {

struct RawItem {
    std::string name;
    std::uint16_t type = notes::kTypeText;
    std::string data;  // the value bytes after the type word
};

inline void PutWord(std::vector<unsigned char>& out, std::size_t word) {
    out.push_back(static_cast<unsigned char>(word & 0xFF));
    out.push_back(static_cast<unsigned char>((word >> 8) & 0xFF));
}

// A well-formed table, allocated to exactly its total length.
inline std::vector<unsigned char> BuildTable(const std::vector<RawItem>& items) {
    std::size_t total = notes::kItemTableHeaderSize;
    for (const RawItem& item : items) total += 4 + item.name.size() + 2 + item.data.size();
    std::vector<unsigned char> table;
    table.reserve(total);
    PutWord(table, total);
    PutWord(table, items.size());
    for (const RawItem& item : items) {
        PutWord(table, item.name.size());
        PutWord(table, item.data.size() + 2);
    }
    for (const RawItem& item : items) {
        table.insert(table.end(), item.name.begin(), item.name.end());
        PutWord(table, item.type);
        table.insert(table.end(), item.data.begin(), item.data.end());
    }
    return table;
}

// Text in the library's character set.
inline std::string LibraryText(std::u16string_view text) {
    std::string out(text.size() * 4 + 4, '\0');
    out.resize(notes::TranslateText(notes::kTranslateUnicodeToLmbcs, text.data(),
                                    static_cast<std::uint32_t>(text.size() * 2), out.data(),
                                    static_cast<std::uint32_t>(out.size())));
    return out;
}

inline RawItem Text(std::string name, std::u16string_view value) {
    return {std::move(name), notes::kTypeText, LibraryText(value)};
}

inline RawItem Number(std::string name, double value) {
    std::string data(sizeof value, '\0');
    std::memcpy(data.data(), &value, sizeof value);
    return {std::move(name), notes::kTypeNumber, data};
}

}  // namespace logscantest
