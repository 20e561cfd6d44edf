#include "notessim/ActivityStream.h"

#include <algorithm>

#include "notessim/ActivityRecord.h"
#include "notessim/Faults.h"
#include "notessim/ItemTable.h"
#include "notessim/LineReader.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Servers.h"
#include "notessim/Statuses.h"

namespace notessim {
namespace {

constexpr std::string_view kStreamSuffix = ".activity.jsonl";

std::uint64_t TimeNumber(const TIMEDATE& time) {
    return (std::uint64_t{time.Innards[1]} << 32) | time.Innards[0];
}

std::vector<std::string> SplitFilter(std::string_view filter) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (true) {
        const std::size_t bar = filter.find('|', start);
        names.emplace_back(filter.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) return names;
        start = bar + 1;
    }
}

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(" \t\r") == std::string_view::npos;
}

bool Selects(const ActivityStreamObject& stream, const ActivityRecord& record) {
    const std::uint64_t time = TimeNumber(record.time);
    if (time < stream.from || time > stream.to) return false;
    return stream.types.empty() ||
           std::find(stream.types.begin(), stream.types.end(), record.type) != stream.types.end();
}

// Hands one record to the callback, its item table built in `table`. The runtime's records are
// never checkpointed, so there is no primary key. A fault here ends a scan part-way through.
STATUS DeliverRecord(const ActivityRecord& record, std::string& table,
                     notesapi::ACTIVITYSTREAMACTION callback, void* context) {
    SIM_FAULT_POINT("DeliverActivityRecord");
    BuildItemTable(record.items, table);
    return callback(record.type.c_str(), 0, 0, 0, &record.time, table.data(), context);
}

STATUS Damaged(const std::filesystem::path& file, std::size_t line, const std::string& what) {
    return Diagnose(kStatusBadEnvironmentFile,
                    "Activity stream is damaged: " + PathToUtf8(file.lexically_normal()) +
                        ": line " + std::to_string(line) + ": " + what);
}

}  // namespace

STATUS FindActivityStream(std::string_view server, std::string_view database,
                          const char* typeFilter, const notesapi::TIMEDATE_PAIR* range,
                          ActivityStreamObject& stream) {
    ServerLocation location;
    if (const auto status = LocateServer(server, location); status != 0) return status;
    if (database.empty()) return kStatusFileNotFound;
    std::filesystem::path file;
    if (LocateDatabaseFile(location, std::string(database) + std::string(kStreamSuffix), file) == 0) {
        stream.file = file;
    } else if (const auto status = LocateDatabaseFile(location, database, file); status != 0) {
        return status;
    }
    if (typeFilter != nullptr && typeFilter[0] != '\0') stream.types = SplitFilter(typeFilter);
    if (range != nullptr) {
        stream.from = TimeNumber(range->Lower);
        stream.to = TimeNumber(range->Upper);
    }
    return 0;
}

STATUS ScanActivityFile(const ActivityStreamObject& stream, notesapi::ACTIVITYSTREAMACTION callback,
                        void* context) {
    if (stream.file.empty()) return 0;
    LineReader reader(stream.file);
    if (!reader.IsOpen()) return kStatusFileNotFound;
    std::string line;
    ActivityRecord record;  // each line's record and table reuse the storage of the one before
    std::string table;
    std::string error;
    for (std::size_t number = 1; reader.Next(line); ++number) {
        if (IsBlank(line)) continue;
        if (!ParseActivityRecord(line, record, error)) return Damaged(stream.file, number, error);
        if (!Selects(stream, record)) continue;
        if (const auto status = DeliverRecord(record, table, callback, context); status != 0) {
            return State().scanStopStatus.value_or(status);
        }
    }
    return reader.Failed() ? kStatusIoError : STATUS{0};
}

}  // namespace notessim
