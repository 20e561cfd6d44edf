#include "notessim/Database.h"

#include <algorithm>
#include <cstring>
#include <nlohmann/json.hpp>

#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"
#include "notessim/TimeText.h"

namespace notessim {
namespace {

using Json = nlohmann::json;

struct ParseError {
    std::string what;
};

void AppendWord(std::string& out, std::uint16_t word) {
    out += static_cast<char>(word & 0xFF);
    out += static_cast<char>(word >> 8);
}

std::string HexToBytes(const std::string& hex) {
    if (hex.size() % 2 != 0) throw ParseError{"odd number of hex digits"};
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

SimItem ParseItem(const Json& pair) {
    if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string()) {
        throw ParseError{"an item is not a [name, value] pair"};
    }
    SimItem item;
    item.name = Utf8ToLibraryText(pair[0].get<std::string>());
    const Json& value = pair[1];
    if (value.is_string()) {
        item.type = notes::kTypeText;
        item.value = Utf8ToLibraryText(value.get<std::string>());
    } else if (value.is_array()) {
        std::vector<std::string> texts;
        for (const Json& text : value) {
            if (!text.is_string()) throw ParseError{"a text list holds a non-text member"};
            texts.push_back(Utf8ToLibraryText(text.get<std::string>()));
        }
        item.type = notes::kTypeTextList;
        item.value = BuildTextList(texts);
    } else if (value.is_number()) {
        const double number = value.get<double>();
        item.type = notes::kTypeNumber;
        item.value.assign(reinterpret_cast<const char*>(&number), sizeof number);
    } else if (value.is_object() && value.contains("time") && value["time"].is_string()) {
        notes::TimeDate time{};
        if (!ParseTimeText(value["time"].get<std::string>(), time)) {
            throw ParseError{"bad time " + value["time"].get<std::string>()};
        }
        item.type = notes::kTypeTime;
        item.value.assign(reinterpret_cast<const char*>(&time), sizeof time);
    } else if (value.is_object() && value.contains("type") && value["type"].is_number_unsigned() &&
               value.contains("hex") && value["hex"].is_string()) {
        item.type = static_cast<std::uint16_t>(value["type"].get<unsigned>());
        item.value = HexToBytes(value["hex"].get<std::string>());
    } else {
        throw ParseError{"unknown value form of item " + pair[0].get<std::string>()};
    }
    return item;
}

void ParseNotes(const Json& list, SimDatabase& database) {
    if (!list.is_array()) throw ParseError{"\"notes\" is not a list"};
    notes::NoteId largest = 0;
    for (const Json& note : list) {
        if (note.contains("id")) largest = std::max(largest, note["id"].get<notes::NoteId>());
    }
    for (const Json& note : list) {
        if (!note.is_object()) throw ParseError{"a note is not an object"};
        SimNote parsed;
        if (note.contains("id")) {
            parsed.id = note["id"].get<notes::NoteId>();
        } else {
            largest = (largest / 4 + 1) * 4;
            parsed.id = largest;
        }
        if (note.contains("class")) parsed.design = note["class"].get<std::string>() == "design";
        if (note.contains("items")) {
            if (!note["items"].is_array()) throw ParseError{"\"items\" is not a list"};
            for (const Json& item : note["items"]) parsed.items.push_back(ParseItem(item));
        }
        database.notes.push_back(std::move(parsed));
    }
    std::sort(database.notes.begin(), database.notes.end(),
              [](const SimNote& a, const SimNote& b) { return a.id < b.id; });
    for (std::size_t i = 1; i < database.notes.size(); ++i) {
        if (database.notes[i].id == database.notes[i - 1].id) {
            throw ParseError{"note ID " + std::to_string(database.notes[i].id) + " given twice"};
        }
    }
}

void ParseViews(const Json& views, SimDatabase& database) {
    if (!views.is_object()) throw ParseError{"\"views\" is not an object"};
    notes::NoteId nextId = database.notes.empty() ? 4 : (database.notes.back().id / 4 + 1) * 4;
    for (const auto& [names, entries] : views.items()) {
        SimView view;
        view.id = nextId;
        nextId += 4;
        std::size_t start = 0;
        while (start <= names.size()) {
            const std::size_t bar = std::min(names.find('|', start), names.size());
            view.aliases.push_back(Utf8ToLibraryText(names.substr(start, bar - start)));
            start = bar + 1;
        }
        if (!entries.is_array()) throw ParseError{"view " + names + " is not a list"};
        for (const Json& entry : entries) {
            SimViewEntry parsed;
            if (entry.is_number_unsigned()) {
                parsed.id = entry.get<notes::NoteId>();
                if (database.FindNote(parsed.id) == nullptr) {
                    throw ParseError{"view " + names + " names missing note " +
                                     std::to_string(parsed.id)};
                }
            } else if (entry.is_object() && entry.contains("category")) {
                parsed.id = notes::kCategoryNoteIdFlag | static_cast<notes::NoteId>(view.entries.size());
                parsed.category = Utf8ToLibraryText(entry["category"].get<std::string>());
            } else {
                throw ParseError{"view " + names + " holds an entry that is neither note nor category"};
            }
            view.entries.push_back(std::move(parsed));
        }
        database.views.push_back(std::move(view));
    }
}

}  // namespace

const SimNote* SimDatabase::FindNote(notes::NoteId id) const {
    const auto found = std::lower_bound(notes.begin(), notes.end(), id,
                                        [](const SimNote& note, notes::NoteId value) { return note.id < value; });
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
                                                 notes::NotesStatus& status) {
    auto database = std::make_shared<SimDatabase>();
    try {
        const Json json = Json::parse(content);
        if (!json.is_object()) throw ParseError{"not a JSON object"};
        if (json.contains("title")) database->title = json["title"].get<std::string>();
        if (json.contains("replicaId") &&
            !ParseTimeText(json["replicaId"].get<std::string>(), database->replicaId)) {
            throw ParseError{"bad replicaId"};
        }
        if (json.contains("notes")) ParseNotes(json["notes"], *database);
        if (json.contains("views")) ParseViews(json["views"], *database);
    } catch (const ParseError& error) {
        SetStatusDetail(kStatusBadEnvironmentFile,
                        "Database file is damaged: " + PathToUtf8(file) + ": " + error.what);
        status = kStatusBadEnvironmentFile;
        return nullptr;
    } catch (const std::exception& error) {
        SetStatusDetail(kStatusBadEnvironmentFile,
                        "Database file is damaged: " + PathToUtf8(file) + ": " + error.what());
        status = kStatusBadEnvironmentFile;
        return nullptr;
    }
    status = 0;
    return database;
}

}  // namespace notessim
