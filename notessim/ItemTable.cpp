#include "notessim/ItemTable.h"

namespace notessim {
namespace {

void PutWord(std::string& out, std::size_t at, std::size_t word) {
    out[at] = static_cast<char>(word & 0xFF);
    out[at + 1] = static_cast<char>((word >> 8) & 0xFF);
}

}  // namespace

std::string BuildItemTable(const std::vector<const SimItem*>& items) {
    std::size_t count = 0;
    std::size_t total = notes::kItemTableHeaderSize;
    for (const SimItem* item : items) {
        const std::size_t size = notes::kItemDescriptorSize + item->name.size() + 2 + item->value.size();
        if (total + size > 0xFFFF || item->name.size() > 0xFFFF || item->value.size() + 2 > 0xFFFF) break;
        total += size;
        ++count;
    }
    std::string table(notes::kItemTableHeaderSize + count * notes::kItemDescriptorSize, '\0');
    table.reserve(total);
    PutWord(table, 0, total);
    PutWord(table, 2, count);
    for (std::size_t i = 0; i < count; ++i) {
        const SimItem& item = *items[i];
        const std::size_t at = notes::kItemTableHeaderSize + i * notes::kItemDescriptorSize;
        PutWord(table, at, item.name.size());
        PutWord(table, at + 2, item.value.size() + 2);
        table += item.name;
        table += static_cast<char>(item.type & 0xFF);
        table += static_cast<char>(item.type >> 8);
        table += item.value;
    }
    return table;
}

}  // namespace notessim
