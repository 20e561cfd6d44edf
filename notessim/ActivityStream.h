// An open activity stream: the records of a database's "<file>.activity.jsonl", chosen by type
// and time, delivered to a callback as the file is read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "notessim/CTypes.h"
#include "notessim/Handles.h"

namespace notessim {

struct ActivityStreamObject : HandleObject {
    std::filesystem::path file;      // empty: the database has no stream file, so no records
    std::vector<std::string> types;  // the filter's names; empty: every type
    std::uint64_t from = 0;          // the time range as high:low numbers, bounds included
    std::uint64_t to = UINT64_MAX;
};

// Finds the stream of `database` on `server` (both in the library's character set) and sets up
// its filter ("A|B|C", null or empty: every type) and range (null: every time).
STATUS FindActivityStream(std::string_view server, std::string_view database,
                          const char* typeFilter, const notesapi::TIMEDATE_PAIR* range,
                          ActivityStreamObject& stream);

// Delivers, in file order, every record the stream selects; ends at a malformed line (a status
// whose text names the file and the line) or at the first non-zero status of `callback`, and
// returns that status.
STATUS ScanActivityFile(const ActivityStreamObject& stream, notesapi::ACTIVITYSTREAMACTION callback,
                        void* context);

}  // namespace notessim
