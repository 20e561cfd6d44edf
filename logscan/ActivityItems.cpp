#include "logscan/ActivityItems.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "notes/NotesPlatform.h"

namespace logscan {
namespace {

constexpr std::uint32_t kTextBufferSize = 65536;
// The library's longest number text (MAXALPHANUMBER, 40) and its terminator.
constexpr std::uint16_t kNumberTextLength = 40;
constexpr std::uint16_t kNumberBufferSize = kNumberTextLength + 1;
// Up to this many names a duplicate is looked for entry by entry; past it, in a hash set.
constexpr std::size_t kLinearNameSearch = 32;

std::size_t Word(const unsigned char* at) { return static_cast<std::size_t>(at[0] | (at[1] << 8)); }

// The conversion buffers, local to one ReadActivityItems call.
struct ValueBuffers {
    char text[kTextBufferSize];
    char number[kNumberBufferSize];
};

std::string_view TextValue(const unsigned char* data, std::size_t length, ValueBuffers& buffers) {
    if (length == 0) return "NULL";
    const std::uint32_t written =
        notes::TranslateText(notes::kTranslateLmbcsToUtf8, data, static_cast<std::uint32_t>(length),
                             buffers.text, kTextBufferSize - 1);
    return {buffers.text, std::min<std::uint32_t>(written, kTextBufferSize - 1)};
}

std::string_view NumberValue(const unsigned char* data, ValueBuffers& buffers) {
    double number = 0;
    std::memcpy(&number, data, sizeof number);
    std::uint16_t length = 0;
    notes::NumberToText(nullptr, nullptr, &number, buffers.number, kNumberBufferSize, &length);
    return {buffers.number, std::min(length, kNumberTextLength)};
}

// `value` starts with its 16-bit data type; a value too short for its type is not converted.
std::string_view ValueText(const unsigned char* value, std::size_t length, ValueBuffers& buffers) {
    if (length >= 2) {
        const std::size_t type = Word(value);
        if (type == notes::kTypeText) return TextValue(value + 2, length - 2, buffers);
        if (type == notes::kTypeNumber && length - 2 >= sizeof(double)) {
            return NumberValue(value + 2, buffers);
        }
    }
    return "-not text-";
}

// Whether a record has shown a name before: the map's own search for the first names, a hash
// set of them past that, so that records of thousands of items cost no quadratic time.
class SeenNames {
public:
    explicit SeenNames(const ActivityItemMap& items) : items_(items) {}
    bool Contains(const ItemName& name) const {
        return items_.size() <= kLinearNameSearch ? items_.contains(name) : hashed_.contains(name.text);
    }
    // After `name` was added to the map.
    void Added(std::string_view name) {
        if (items_.size() <= kLinearNameSearch) return;
        if (hashed_.empty()) {
            for (std::size_t i = 0; i + 1 < items_.size(); ++i) hashed_.insert(items_.NameAt(i));
        }
        hashed_.insert(name);
    }

private:
    const ActivityItemMap& items_;
    std::unordered_set<std::string_view> hashed_;
};

}  // namespace

std::vector<std::pair<std::string, std::string>> ActivityItemMap::Entries() const {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const Entry& entry : entries_) entries.emplace_back(Name(entry), Value(entry));
    return entries;
}

ActivityItemMap ReadActivityItems(const void* itemTable) {
    ActivityItemMap items;
    if (itemTable == nullptr) return items;
    const auto* table = static_cast<const unsigned char*>(itemTable);
    const std::size_t total = Word(table);
    if (total < notes::kItemTableHeaderSize) return items;
    const std::size_t count = Word(table + 2);
    std::size_t position = notes::kItemTableHeaderSize + count * notes::kItemDescriptorSize;
    if (position > total) return items;
    // Texts mostly keep their size in UTF-8; numbers grow a little.
    items.Reserve(count, total + 8 * count);
    SeenNames seen(items);
    ValueBuffers buffers;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* descriptor =
            table + notes::kItemTableHeaderSize + i * notes::kItemDescriptorSize;
        const std::size_t nameLength = Word(descriptor);
        const std::size_t valueLength = Word(descriptor + 2);
        if (nameLength + valueLength > total - position) break;
        const std::string_view name(reinterpret_cast<const char*>(table + position), nameLength);
        const unsigned char* value = table + position + nameLength;
        position += nameLength + valueLength;
        if (name.empty()) continue;
        const ItemName key(name);
        if (seen.Contains(key)) continue;
        items.Add(key, ValueText(value, valueLength, buffers));
        seen.Added(name);
    }
    return items;
}

}  // namespace logscan
