#include "directory/DirectoryExport.h"

#include <tinyxml2.h>

#include "directory/DirectoryDocument.h"
#include "directory/NabFile.h"
#include "notes/NotesHandleOwner.h"
#include "driver/LibraryName.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/OutputFile.h"

namespace directory {

notes::NotesStatus ExportDirectory() {
    notes::DatabaseOwner database;
    if (const auto status =
            driver::OpenServerDatabase(driver::Settings().server, u"names.nsf", database);
        status != 0) {
        return status;
    }

    // The document grows in an anonymous file; nab.xml changes only once both views were read.
    platform::OutputFile document = platform::OutputFile::AnonymousTemporary();
    if (!document.IsOpen()) {
        driver::LogDebug(u"Unable to create the temporary file of nab.xml");
        return notes::kStatusCannotCreateFile;
    }
    {
        tinyxml2::XMLPrinter printer(document.stream(), false, 0);
        if (const auto status = WriteDirectoryDocument(printer, database.Get()); status != 0) {
            return status;
        }
    }
    if (std::fflush(document.stream()) != 0 || std::ferror(document.stream()) != 0) {
        driver::LogDebug(u"Unable to write the temporary file of nab.xml");
        return notes::kStatusIoError;
    }
    return PublishNabFile(document);
}

}  // namespace directory
