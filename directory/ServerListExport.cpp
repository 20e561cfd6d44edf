#include "directory/ServerListExport.h"

#include "directory/ServerNames.h"
#include "driver/NotesSession.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/FileIntegrity.h"
#include "platform/Files.h"
#include "platform/StopRequest.h"

namespace directory {
namespace {

// Closes the list; after a write that failed part-way it is cut back to its last complete line,
// which also frees the room the run log's line needs on a full disk.
bool CloseServerList(std::FILE* output, const std::u16string& path, bool writeFailed) {
    const bool closed = std::fclose(output) == 0;
    if (writeFailed || !closed) platform::CutRegularFile(path, platform::ScanCompleteLines);
    return closed;
}

}  // namespace

void ExportServerList() {
    const std::u16string path = driver::OutputFilePath(u"servers.txt");
    std::FILE* output = platform::OpenTextStream(path, platform::OpenMode::replace);
    if (output == nullptr) {
        driver::LogMessage(driver::kLogError, u"Unable to open output file");
        return;
    }
    if (!driver::EnterNotesSession()) {
        std::fclose(output);
        return;
    }
    const notes::NotesStatus status = CollectServerNames(output);
    // Every line was flushed as it was written; a failure at the close still means a bad file.
    const bool closed =
        CloseServerList(output, path, notes::IsStatus(status, notes::kStatusIoError));
    if (status != 0 && !platform::StopRequested()) {
        driver::LogNotesError(u"Unable to read servers (%s)", status);
    } else if (!closed) {
        driver::LogMessage(driver::kLogError, u"Unable to write output file");
    }
    driver::EndNotesSession();
}

}  // namespace directory
