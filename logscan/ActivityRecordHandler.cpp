#include "logscan/ActivityRecordHandler.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "logscan/ActivityItems.h"
#include "logscan/ActivityRow.h"
#include "logscan/ActivityScanContext.h"
#include "notes/NotesStatuses.h"
#include "platform/StopRequest.h"

namespace logscan {
namespace {

// Counts the record; false when the limit is reached and the record's time differs from the
// time of the record that reached it, so that a batch never ends between records of one time.
bool WithinRecordLimit(ActivityScanContext& scan, const char* eventTime) {
    // Saturating: a scan without limit may see more records than the counter holds.
    if (scan.recordsSeen < std::numeric_limits<std::int32_t>::max()) ++scan.recordsSeen;
    if (scan.recordLimit <= 0 || scan.recordsSeen < scan.recordLimit) return true;
    if (scan.stopTime[0] == '\0') {
        std::memcpy(scan.stopTime, eventTime, kEventTimeTextSize);
        return true;
    }
    return std::strcmp(eventTime, scan.stopTime) == 0;
}

// "%.8lX%.8lX" of the two words, without the cost of a formatted print per record.
void FormatEventTime(const notes::TimeDate* eventTime, char (&text)[kEventTimeTextSize]) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    const std::uint32_t words[2] = {notes::TimeHighWord(eventTime), notes::TimeLowWord(eventTime)};
    for (int w = 0; w < 2; ++w) {
        for (int i = 0; i < 8; ++i) text[w * 8 + i] = kDigits[(words[w] >> (28 - 4 * i)) & 0xF];
    }
    text[16] = '\0';
}

}  // namespace

notes::NotesStatus HandleActivityRecord(const char* eventType, std::uint32_t /*reserved1*/,
                                        std::uint32_t /*reserved2*/, const void* /*reserved3*/,
                                        const notes::TimeDate* eventTime, const void* itemTable,
                                        void* context) {
    // A stop on request ends the scan between rows, as the row limit does.
    if (platform::StopRequested()) return notes::kStatusStopped;
    auto& scan = *static_cast<ActivityScanContext*>(context);
    // Once stopped, stopped: a library that calls again gets the same answer, and no row.
    if (scan.stoppedScan) return notes::kStatusStopped;
    // Without its time a record has no place in the scan's order: it is passed over.
    if (eventTime == nullptr) return 0;
    char timeText[kEventTimeTextSize];
    FormatEventTime(eventTime, timeText);
    if (!WithinRecordLimit(scan, timeText)) {
        scan.stoppedScan = true;
        return notes::kStatusStopped;
    }
    // Without its type or its items a record is none of the kinds a row is made of.
    if (eventType == nullptr || itemTable == nullptr) return 0;
    return WriteActivityRow(scan.output, eventType, timeText, ReadActivityItems(itemTable));
}

}  // namespace logscan
