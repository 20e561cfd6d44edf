#include "logscan/ActivityLogExport.h"

#include <optional>
#include <string>

#include "driver/NotesSession.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "logscan/ActivityRecordHandler.h"
#include "logscan/ActivityScanContext.h"
#include "logscan/LogStream.h"
#include "logscan/ScanOptions.h"
#include "notes/NotesStatuses.h"
#include "platform/OutputFile.h"
#include "platform/StopRequest.h"

namespace logscan {
namespace {

std::u16string_view ServerToScan(const driver::RunSettings& settings) {
    if (settings.server == driver::LocalServerName) return {};
    return settings.server;
}

std::u16string_view DatabaseToScan(const driver::RunSettings& settings) {
    if (settings.databasePath.empty()) return u"log.nsf";
    return settings.databasePath;
}

// Everything between the session's start and its end; writes the run-log line of a failure.
void ScanIntoFile(platform::OutputFile& output) {
    const driver::RunSettings& settings = driver::Settings();
    const std::optional<notes::TimeDate> start = ParseStartTime(settings.startTime);
    if (!start) {
        driver::LogError(u"Invalid start date: %s", {std::u16string_view(settings.startTime)});
        return;
    }
    notes::TimeDate range[2] = {*start, {}};
    notes::SetTimeLimit(1, &range[1]);

    LogStream stream;
    if (const notes::NotesStatus status =
            stream.Open(ServerToScan(settings), DatabaseToScan(settings), range);
        status != 0) {
        driver::LogNotesError(u"Error accessing activity stream (%s)", status);
        output.Close();
        return;
    }

    ActivityScanContext context;
    context.output = output.stream();
    context.recordLimit = settings.rowLimit.empty() ? 0 : ParseRowLimit(settings.rowLimit);
    notes::NotesStatus status =
        notes::ScanActivityStream(stream.handle(), HandleActivityRecord, &context, 0, 0);
    // What the library returns after the handler stopped the scan is not documented.
    if (context.stoppedScan && !notes::IsStatus(status, notes::kStatusStopped)) {
        driver::LogDebug(
            u"The row limit stopped the activity scan with 413; the library returned %X",
            {std::int64_t{status}});
    }
    if (notes::IsStatus(status, notes::kStatusStopped)) status = 0;
    stream.Close();
    // Rows wait in the stream's buffer; a write error may show only now, and must not be lost.
    // A row cut by it is cut away before the line is logged (on a full disk that makes room).
    if (!output.CloseKeepingWholeLines(notes::IsStatus(status, notes::kStatusIoError),
                                       platform::LineEnds::csvRows) &&
        status == 0) {
        status = notes::kStatusIoError;
    }
    if (status != 0 && !platform::StopRequested()) {
        driver::LogNotesError(u"Error scanning activity stream (%s)", status);
    }
}

}  // namespace

void ExportActivityLog() {
    platform::OutputFile output(driver::OutputFilePath(u"logscan.txt"), platform::OpenMode::replace);
    if (!output.IsOpen()) {
        driver::LogMessage(driver::kLogError, u"Unable to create output file");
        return;
    }
    if (!driver::EnterNotesSession()) return;
    ScanIntoFile(output);
    driver::EndNotesSession();
}

}  // namespace logscan
