// One record of an activity stream file: a JSON object on a line of its own,
// {"type": "Domino.HTTP", "time": "2026-12-01T09:30:00.00Z", "items": [[name, value], ...]}.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notes/NotesPlatform.h"
#include "notessim/Database.h"

namespace notessim {

struct ActivityRecord {
    std::string type;  // library character set
    notes::TimeDate time{};
    std::vector<SimItem> items;
};

// Reads one line; false, with the reason in `error`, when the line is not such a record.
// Item values take the forms of database files (text, text list, number, time, raw bytes).
bool ParseActivityRecord(std::string_view line, ActivityRecord& record, std::string& error);

}  // namespace notessim
