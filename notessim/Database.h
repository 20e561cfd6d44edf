// The runtime's picture of a database file: notes with their items, and views.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "notessim/CTypes.h"

namespace notessim {

// An item as the library holds it: the name, the data type, and the value bytes that follow the
// type word (text in the library's character set, a text list in list layout, 8-byte numbers
// and times).
struct SimItem {
    std::string name;
    std::uint16_t type = 0;
    std::string value;
};

struct SimNote {
    NOTEID id = 0;
    bool design = false;
    bool unreadable = false;  // every open fails, as with reader fields that leave the user out
    std::vector<SimItem> items;
};

struct SimViewEntry {
    NOTEID id = 0;         // the category flag set for a category entry
    std::string category;  // a category entry's text
};

struct SimView {
    std::vector<std::string> aliases;
    NOTEID id = 0;  // the view's own note ID, past every document's
    std::vector<SimViewEntry> entries;
};

struct SimDatabase {
    std::string title;
    TIMEDATE replicaId{};
    std::vector<SimNote> notes;  // ascending note ID
    std::vector<SimView> views;

    const SimNote* FindNote(NOTEID id) const;
    const SimView* FindView(std::string_view name) const;  // any alias, any letter case
    // What the database holds in memory, in bytes.
    std::size_t MemoryBytes() const;
};

// The first item of `name` (ASCII letter case ignored), or null.
const SimItem* FindItem(const std::vector<SimItem>& items, std::string_view name);

// Parses a database file's JSON; on malformed content returns null and a status whose text
// names `file`.
std::shared_ptr<const SimDatabase> ParseDatabase(const std::string& content,
                                                 const std::filesystem::path& file, STATUS& status);

// Text list value bytes: a 16-bit count, the 16-bit lengths, then the texts.
std::string BuildTextList(const std::vector<std::string>& lmbcsTexts);

}  // namespace notessim
