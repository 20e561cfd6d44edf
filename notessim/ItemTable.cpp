#include "notessim/ItemTable.h"

#include <cstring>

namespace notessim {
namespace {

// ITEM_TABLE: {WORD length, WORD items}, then {WORD name length, WORD value length} per item.
constexpr std::size_t kHeaderSize = 4;
constexpr std::size_t kDescriptorSize = 4;

char* PutWord(char* at, std::size_t word) {
    at[0] = static_cast<char>(word & 0xFF);
    at[1] = static_cast<char>((word >> 8) & 0xFF);
    return at + 2;
}

char* PutBytes(char* at, const std::string& bytes) {
    if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
    return at + bytes.size();
}

template <typename Items, typename Item>
void Build(const Items& items, Item item, std::string& table) {
    std::size_t count = 0;
    std::size_t total = kHeaderSize;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const SimItem& next = item(items[i]);
        const std::size_t size = kDescriptorSize + next.name.size() + 2 + next.value.size();
        if (total + size > 0xFFFF || next.name.size() > 0xFFFF || next.value.size() + 2 > 0xFFFF) break;
        total += size;
        ++count;
    }
    table.resize(total);
    char* descriptor = PutWord(PutWord(table.data(), total), count);
    char* out = descriptor + count * kDescriptorSize;
    for (std::size_t i = 0; i < count; ++i) {
        const SimItem& next = item(items[i]);
        descriptor = PutWord(PutWord(descriptor, next.name.size()), next.value.size() + 2);
        out = PutBytes(PutWord(PutBytes(out, next.name), next.type), next.value);
    }
}

}  // namespace

std::string BuildItemTable(const std::vector<const SimItem*>& items) {
    std::string table;
    Build(items, [](const SimItem* item) -> const SimItem& { return *item; }, table);
    return table;
}

void BuildItemTable(const std::vector<SimItem>& items, std::string& table) {
    Build(items, [](const SimItem& item) -> const SimItem& { return item; }, table);
}

}  // namespace notessim
