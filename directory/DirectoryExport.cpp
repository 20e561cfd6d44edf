#include "directory/DirectoryExport.h"

#include <tinyxml2.h>

#include <algorithm>
#include <memory>

#include "directory/DirectoryDocument.h"
#include "directory/NabFile.h"
#include "directory/NotesHandleOwners.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/TemporaryFile.h"

namespace directory {
namespace {

constexpr std::uint32_t kServerNameBytes = 255;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileOwner = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

notes::NotesStatus ExportDirectory() {
    const std::u16string& server = driver::Settings().server;
    char serverName[kServerNameBytes + 1] = {};
    const std::uint32_t length = notes::TranslateText(
        notes::kTranslateUnicodeToLmbcs, server.data(),
        static_cast<std::uint32_t>(server.size() * 2), serverName, kServerNameBytes);
    serverName[std::min(length, kServerNameBytes)] = '\0';

    char path[256] = {};
    if (const auto status = notes::BuildNetworkPath(nullptr, serverName, "names.nsf", path);
        status != 0) {
        return status;
    }
    DatabaseOwner database;
    if (const auto status = notes::OpenDatabase(path, database.Receive()); status != 0) {
        return status;
    }

    // The document grows in an anonymous file; nab.xml changes only once both views were read.
    const FileOwner document(platform::OpenAnonymousTempFile());
    if (document == nullptr) {
        driver::LogDebug(u"Unable to create the temporary file of nab.xml");
        return notes::kStatusCannotCreateFile;
    }
    {
        tinyxml2::XMLPrinter printer(document.get(), false, 0);
        if (const auto status = WriteDirectoryDocument(printer, database.Get()); status != 0) {
            return status;
        }
    }
    if (std::fflush(document.get()) != 0 || std::ferror(document.get()) != 0) {
        driver::LogDebug(u"Unable to write the temporary file of nab.xml");
        return notes::kStatusIoError;
    }
    return PublishNabFile(document.get());
}

}  // namespace directory
