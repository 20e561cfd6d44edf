#include "directory/ServerListExport.h"

#include "directory/ServerNames.h"
#include "driver/NotesSession.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/OutputFile.h"
#include "platform/StopRequest.h"

namespace directory {

void ExportServerList() {
    platform::OutputFile list(driver::OutputFilePath(u"servers.txt"), platform::OpenMode::replace);
    if (!list.IsOpen()) {
        driver::LogMessage(driver::kLogError, u"Unable to open output file");
        return;
    }
    if (!driver::EnterNotesSession()) return;
    const notes::NotesStatus status = CollectServerNames(list.stream());
    // Every line was flushed as it was written; a failure at the close still means a bad file.
    // After a write that failed part-way the list is cut back to its last whole line, which also
    // frees the room the run log's line needs on a full disk.
    const bool closed = list.CloseKeepingWholeLines(
        notes::IsStatus(status, notes::kStatusIoError), platform::LineEnds::lines);
    if (status != 0 && !platform::StopRequested()) {
        driver::LogNotesError(u"Unable to read servers (%s)", status);
    } else if (!closed) {
        driver::LogMessage(driver::kLogError, u"Unable to write output file");
    }
    driver::EndNotesSession();
}

}  // namespace directory
