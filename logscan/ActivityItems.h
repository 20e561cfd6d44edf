// The items of one activity record, by name, with each value as the text a row shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "logscan/InlineBuffer.h"

namespace logscan {

// An item name with what a search compares first: its first eight bytes and a bit chosen by its
// length and end bytes. Computed once for the fixed names of the rows.
struct ItemName {
    constexpr ItemName(std::string_view name) : text(name) {  // NOLINT: converts on purpose
        for (std::size_t i = 0; i < name.size() && i < 8; ++i) {
            head |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * i);
        }
        if (!name.empty()) {
            const auto first = static_cast<unsigned char>(name.front());
            const auto last = static_cast<unsigned char>(name.back());
            bit = std::uint64_t{1} << ((name.size() * 7 + first + last * 3) & 63);
        }
    }
    constexpr ItemName(const char* name) : ItemName(std::string_view(name)) {}

    std::string_view text;
    std::uint64_t head = 0;
    std::uint64_t bit = 1;
};

// Names compare byte by byte; both names and value texts are 8-bit text. Built afresh for every
// record, it holds the names as views into the record's item table, which must outlive it, and
// every value text in one buffer; a common record costs no allocation.
class ActivityItemMap {
public:
    // The value text of `name`, if the record has an item of that name.
    std::optional<std::string_view> Find(const ItemName& name) const {
        if ((nameBits_ & name.bit) == 0) return std::nullopt;  // most absent names end here
        for (const Entry& entry : entries_) {
            if (entry.head == name.head && entry.nameLength == name.text.size() &&
                (name.text.size() <= 8 || Name(entry).substr(8) == name.text.substr(8))) {
                return Value(entry);
            }
        }
        return std::nullopt;
    }
    bool contains(const ItemName& name) const { return Find(name).has_value(); }
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    std::string_view NameAt(std::size_t i) const { return Name(entries_[i]); }
    // Name and value text of every entry, in the order of the record's items.
    std::vector<std::pair<std::string, std::string>> Entries() const;

    void Reserve(std::size_t items, std::size_t textBytes) {
        entries_.Reserve(items);
        texts_.Reserve(textBytes);
    }
    void Add(const ItemName& name, std::string_view valueText) {
        entries_.PushBack({name.text.data(), name.text.size(), name.head, texts_.size(), valueText.size()});
        nameBits_ |= name.bit;
        texts_.Append(valueText.data(), valueText.size());
    }

private:
    struct Entry {
        const char* name;
        std::size_t nameLength;
        std::uint64_t head;
        std::size_t valueStart;
        std::size_t valueLength;
    };
    static std::string_view Name(const Entry& entry) { return {entry.name, entry.nameLength}; }
    std::string_view Value(const Entry& entry) const {
        return {texts_.data() + entry.valueStart, entry.valueLength};
    }

    InlineBuffer<Entry, 16> entries_;
    InlineBuffer<char, 2048> texts_;
    std::uint64_t nameBits_ = 0;
};

// Reads an ITEM_TABLE: the first item of a name wins, items without a name are left out.
// Text becomes UTF-8 ("NULL" when empty), numbers the library's number text, any other value
// "-not text-". Nothing past the table's own total length (its first field) is read: the walk
// ends at the first item whose descriptor or bytes would lie beyond it.
ActivityItemMap ReadActivityItems(const void* itemTable);

}  // namespace logscan
