#include "notessim/Database.h"

#include <algorithm>
#include <cstring>

#include "notessim/DatabaseParser.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"

namespace notessim {
namespace {

void AppendWord(std::string& out, std::uint16_t word) {
    out += static_cast<char>(word & 0xFF);
    out += static_cast<char>(word >> 8);
}

}  // namespace

const SimNote* SimDatabase::FindNote(NOTEID id) const {
    const auto found =
        std::lower_bound(notes.begin(), notes.end(), id,
                         [](const SimNote& note, NOTEID value) { return note.id < value; });
    return found != notes.end() && found->id == id ? &*found : nullptr;
}

const SimView* SimDatabase::FindView(std::string_view name) const {
    for (const SimView& view : views) {
        for (const std::string& alias : view.aliases) {
            if (EqualsIgnoringCase(alias, name)) return &view;
        }
    }
    return nullptr;
}

namespace {

std::size_t HeapBytes(const std::string& text) {
    return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

}  // namespace

std::size_t SimDatabase::MemoryBytes() const {
    std::size_t bytes = sizeof(SimDatabase) + HeapBytes(title) + notes.capacity() * sizeof(SimNote) +
                        views.capacity() * sizeof(SimView);
    for (const SimNote& note : notes) {
        bytes += note.items.capacity() * sizeof(SimItem);
        for (const SimItem& item : note.items) bytes += HeapBytes(item.name) + HeapBytes(item.value);
    }
    for (const SimView& view : views) {
        bytes += view.aliases.capacity() * sizeof(std::string) + view.entries.capacity() * sizeof(SimViewEntry);
        for (const std::string& alias : view.aliases) bytes += HeapBytes(alias);
        for (const SimViewEntry& entry : view.entries) bytes += HeapBytes(entry.category);
    }
    return bytes;
}

const SimItem* FindItem(const std::vector<SimItem>& items, std::string_view name) {
    for (const SimItem& item : items) {
        if (EqualsIgnoringCase(item.name, name)) return &item;
    }
    return nullptr;
}

std::string BuildTextList(const std::vector<std::string>& lmbcsTexts) {
    std::string value;
    AppendWord(value, static_cast<std::uint16_t>(lmbcsTexts.size()));
    for (const std::string& text : lmbcsTexts) AppendWord(value, static_cast<std::uint16_t>(text.size()));
    for (const std::string& text : lmbcsTexts) value += text;
    return value;
}

std::shared_ptr<const SimDatabase> ParseDatabase(const std::string& content,
                                                 const std::filesystem::path& file,
                                                 STATUS& status) {
    std::string error;
    std::shared_ptr<const SimDatabase> database = ParseDatabaseJson(content, error);
    if (!database) {
        status = Diagnose(kStatusNotADatabase,
                          "Database file is damaged: " + PathToUtf8(file) + ": " + error);
        return nullptr;
    }
    status = 0;
    return database;
}

}  // namespace notessim
