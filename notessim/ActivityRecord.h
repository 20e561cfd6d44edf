// One record of an activity stream file: a JSON object on a line of its own,
// {"type": "Domino.HTTP", "time": "2026-12-01T09:30:00.00Z", "items": [[name, value], ...]}.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notessim/CTypes.h"
#include "notessim/Database.h"

namespace notessim {

struct ActivityRecord {
    std::string type;  // library character set
    TIMEDATE time{};
    std::vector<SimItem> items;
};

// Reads one line; false, with the reason in `error`, when the line is not such a record.
// Item values take the forms of database files (text, text list, number, time, raw bytes).
// Lines in the common form are read straight from the text (ReadCommonActivityLine), the others
// as JSON.
bool ParseActivityRecord(std::string_view line, ActivityRecord& record, std::string& error);

// The same through a JSON tree, for every line: what the common form's reading must agree with.
bool ParseActivityRecordAsJson(std::string_view line, ActivityRecord& record, std::string& error);

}  // namespace notessim
