#include "directory/ServerListExport.h"

#include "directory/ServerNames.h"
#include "driver/NotesSession.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "platform/Files.h"

namespace directory {

void ExportServerList() {
    std::FILE* output = platform::OpenTextStream(driver::OutputFilePath(u"servers.txt"), "w");
    if (output == nullptr) {
        driver::LogMessage(driver::kLogError, u"Unable to open output file");
        return;
    }
    bool written = false;
    if (driver::EnterNotesSession()) {
        const notes::NotesStatus status = CollectServerNames(output);
        if (status != 0) driver::LogNotesError(u"Unable to read servers (%s)", status);
        written = status == 0;
        driver::EndNotesSession();
    }
    // Every line was flushed as it was written; a failure this late still means a bad file.
    if (std::fclose(output) != 0 && written) {
        driver::LogMessage(driver::kLogError, u"Unable to write output file");
    }
}

}  // namespace directory
