#include "directory/NabFile.h"

#include <array>
#include <string>

#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/FileIntegrity.h"
#include "platform/FileReplace.h"
#include "platform/Files.h"
#include "platform/StopRequest.h"

namespace directory {
namespace {

// Adds to `copied` the bytes the copy takes in the text file `to`.
bool CopyStream(std::FILE* from, std::FILE* to, std::uint64_t& copied) {
    std::array<char, 65536> chunk;
    while (true) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), from);
        if (got > 0 && std::fwrite(chunk.data(), 1, got, to) != got) return false;
        copied += platform::TextStreamBytes({chunk.data(), got});
        if (got < chunk.size()) return std::ferror(from) == 0;
    }
}

notes::NotesStatus Fail(const std::u16string& staging, std::u16string_view what,
                        notes::NotesStatus status) {
    platform::DeleteFilePath(staging);
    driver::LogDebug(u"Unable to %s: %s", {what, std::u16string_view(staging)});
    return status;
}

}  // namespace

notes::NotesStatus PublishNabFile(std::FILE* document) {
    if (platform::StopRequested()) return notes::kStatusStopped;
    const std::u16string staging = driver::OutputFilePath(u"nab.xml.tmp");
    std::rewind(document);
    // Made anew, as the DXL exports make temp.tmp: a file left under the name (one this run
    // did not make, a link above all) is never written through, only its name removed.
    platform::DeleteFilePath(staging);
    platform::FileIdentity identity;
    std::FILE* output = platform::OpenTextStream(staging, platform::OpenMode::createNew, &identity);
    if (output == nullptr) {
        driver::LogDebug(u"Unable to create %s", {std::u16string_view(staging)});
        return notes::kStatusCannotCreateFile;
    }
    std::uint64_t size = 0;
    const bool copied = CopyStream(document, output, size);
    // Flushed apart from the close: Wine's C runtime drops the error of the flush in fclose.
    const bool flushed = std::fflush(output) == 0;
    if (std::fclose(output) != 0 || !flushed || !copied) {
        return Fail(staging, u"write", notes::kStatusIoError);
    }
    // Only this run's complete file, on the disk, takes the place of nab.xml.
    if (platform::StopRequested() || !platform::SyncFileIfUnchanged(staging, identity, size)) {
        return Fail(staging, u"write", notes::kStatusIoError);
    }
    if (!platform::ReplaceFile(staging, driver::OutputFilePath(u"nab.xml"))) {
        return Fail(staging, u"move into place", notes::kStatusCannotCreateFile);
    }
    return 0;
}

}  // namespace directory
