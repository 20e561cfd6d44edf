#include "directory/NabFile.h"

#include <array>
#include <string>

#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/StopRequest.h"

namespace directory {
namespace {

// Copies what `from` holds into `to`, counting what it stores there.
bool CopyStream(std::FILE* from, platform::OutputFile& to, platform::StagingFile& staging) {
    std::array<char, 65536> chunk;
    while (true) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), from);
        std::size_t written = 0;
        const bool whole = to.Write({chunk.data(), got}, &written);
        staging.Wrote({chunk.data(), written});
        if (!whole) return false;
        if (got < chunk.size()) return std::ferror(from) == 0;
    }
}

// After what failed, one attempt to remove the staging file; one that stays is reported.
notes::NotesStatus Fail(const platform::StagingFile& staging, std::u16string_view what,
                        notes::NotesStatus status) {
    driver::LogDebug(u"Unable to %s: %s", {what, std::u16string_view(staging.path())});
    platform::SystemFailure failure;
    if (staging.Clear(&failure) == platform::DeleteResult::failed) {
        driver::LogDebug(u"Unable to delete %s", {std::u16string_view(staging.path())});
        driver::LogSystemFailure(failure, u"nab.xml.tmp");
    }
    return status;
}

}  // namespace

notes::NotesStatus PublishNabFile(platform::OutputFile& document) {
    if (platform::StopRequested()) return notes::kStatusStopped;
    platform::StagingFile staging(driver::OutputFilePath(u"nab.xml.tmp"));
    std::rewind(document.stream());
    // Made anew, as the DXL exports make temp.tmp: a file left under the name (one this run
    // did not make, a link above all) is never written through, only its name removed.
    staging.Clear();
    platform::OutputFile output = staging.Open();
    if (!output.IsOpen()) {
        driver::LogDebug(u"Unable to create %s", {std::u16string_view(staging.path())});
        return notes::kStatusCannotCreateFile;
    }
    const bool copied = CopyStream(document.stream(), output, staging);
    if (!output.Close() || !copied) return Fail(staging, u"write", notes::kStatusIoError);
    // Only this run's complete file, on the disk, takes the place of nab.xml.
    if (platform::StopRequested() || !staging.IsCompleteAt(staging.path())) {
        return Fail(staging, u"write", notes::kStatusIoError);
    }
    if (!staging.PublishReplacing(driver::OutputFilePath(u"nab.xml"))) {
        return Fail(staging, u"move into place", notes::kStatusCannotCreateFile);
    }
    return 0;
}

}  // namespace directory
