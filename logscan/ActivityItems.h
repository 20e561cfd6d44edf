// The items of one activity record, by name, with each value as the text a row shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace logscan {

// Names compare byte by byte; both names and value texts are 8-bit text. Built afresh for every
// record, it holds the names as views into the record's item table, which must outlive it, and
// every value text in one buffer, so that a record costs few allocations.
class ActivityItemMap {
public:
    // The value text of `name`, if the record has an item of that name.
    std::optional<std::string_view> Find(std::string_view name) const;
    bool contains(std::string_view name) const { return Find(name).has_value(); }
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    std::string_view NameAt(std::size_t i) const { return entries_[i].name; }
    // Name and value text of every entry, in the order of the record's items.
    std::vector<std::pair<std::string, std::string>> Entries() const;

    void Reserve(std::size_t items, std::size_t textBytes);
    void Add(std::string_view name, std::string_view valueText);

private:
    struct Entry {
        std::string_view name;
        std::size_t valueStart;
        std::size_t valueLength;
    };
    std::string_view Value(const Entry& entry) const {
        return {texts_.data() + entry.valueStart, entry.valueLength};
    }

    // A bit per name, chosen from its length and end bytes: most searches for a name that is
    // not there end on a clear bit.
    static std::uint64_t NameBit(std::string_view name);

    std::vector<Entry> entries_;
    std::string texts_;
    std::uint64_t nameBits_ = 0;
};

// Reads an ITEM_TABLE: the first item of a name wins, items without a name are left out.
// Text becomes UTF-8 ("NULL" when empty), numbers the library's number text, any other value
// "-not text-". Nothing past the table's own total length (its first field) is read: the walk
// ends at the first item whose descriptor or bytes would lie beyond it.
ActivityItemMap ReadActivityItems(const void* itemTable);

}  // namespace logscan
