#include "notessim/ActivityRecord.h"

#include <nlohmann/json.hpp>

#include "notessim/ActivityLineReader.h"
#include "notessim/TextCopy.h"
#include "notessim/TimeText.h"

namespace notessim {
namespace {

using Json = nlohmann::json;

struct RecordError {
    std::string what;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string HexToBytes(const std::string& hex) {
    if (hex.size() % 2 != 0) throw RecordError{"odd number of hex digits"};
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) throw RecordError{"bad hex digits " + hex.substr(i, 2)};
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

TIMEDATE ParseTime(const Json& text) {
    TIMEDATE time{};
    if (!text.is_string() || !ParseTimeText(text.get<std::string>(), time)) {
        throw RecordError{"bad time " + text.dump()};
    }
    return time;
}

void ParseValue(const Json& value, SimItem& item) {
    if (value.is_string()) {
        item.type = notesapi::TYPE_TEXT;
        item.value = Utf8ToLibraryText(value.get<std::string>());
    } else if (value.is_array()) {
        std::vector<std::string> texts;
        for (const Json& text : value) {
            if (!text.is_string()) throw RecordError{"a text list holds a non-text member"};
            texts.push_back(Utf8ToLibraryText(text.get<std::string>()));
        }
        item.type = notesapi::TYPE_TEXT_LIST;
        item.value = BuildTextList(texts);
    } else if (value.is_number()) {
        const double number = value.get<double>();
        item.type = notesapi::TYPE_NUMBER;
        item.value.assign(reinterpret_cast<const char*>(&number), sizeof number);
    } else if (value.is_object() && value.contains("time")) {
        const TIMEDATE time = ParseTime(value["time"]);
        item.type = notesapi::TYPE_TIME;
        item.value.assign(reinterpret_cast<const char*>(&time), sizeof time);
    } else if (value.is_object() && value.contains("type") && value["type"].is_number_unsigned() &&
               value["type"].get<std::uint64_t>() <= 0xFFFF && value.contains("hex") &&
               value["hex"].is_string()) {
        item.type = static_cast<std::uint16_t>(value["type"].get<std::uint64_t>());
        item.value = HexToBytes(value["hex"].get<std::string>());
    } else {
        throw RecordError{"unknown value form of item " + item.name};
    }
}

void ParseItems(const Json& items, std::vector<SimItem>& parsed) {
    if (!items.is_array()) throw RecordError{"\"items\" is not a list"};
    for (const Json& pair : items) {
        if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string()) {
            throw RecordError{"an item is not a [name, value] pair"};
        }
        SimItem item;
        item.name = Utf8ToLibraryText(pair[0].get<std::string>());
        ParseValue(pair[1], item);
        parsed.push_back(std::move(item));
    }
}

}  // namespace

bool ParseActivityRecord(std::string_view line, ActivityRecord& record, std::string& error) {
    return ReadCommonActivityLine(line, record) || ParseActivityRecordAsJson(line, record, error);
}

bool ParseActivityRecordAsJson(std::string_view line, ActivityRecord& record, std::string& error) {
    const Json json = Json::parse(line, nullptr, false);
    if (json.is_discarded()) {
        error = "not JSON";
        return false;
    }
    try {
        if (!json.is_object()) throw RecordError{"not a JSON object"};
        if (!json.contains("type") || !json["type"].is_string()) {
            throw RecordError{"no \"type\" text"};
        }
        if (!json.contains("time")) throw RecordError{"no \"time\""};
        ActivityRecord parsed;
        parsed.type = Utf8ToLibraryText(json["type"].get<std::string>());
        parsed.time = ParseTime(json["time"]);
        if (json.contains("items")) ParseItems(json["items"], parsed.items);
        record = std::move(parsed);
        return true;
    } catch (const RecordError& failure) {
        error = failure.what;
    } catch (const std::exception& failure) {
        error = failure.what();
    }
    return false;
}

}  // namespace notessim
