#include "catalog/DxlFileWriter.h"

#include <string>

#include "catalog/DxlChunkAppender.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/OutputFile.h"
#include "platform/StopRequest.h"

namespace catalog {
namespace {

constexpr int kAttempts = 5;
constexpr unsigned kRetryWaitMilliseconds = 1000;

// Runs `attempt` up to five times, with debug lines (the retry, and the system's reason for the
// failure, naming `names`) and a wait after each failure but the last.
template <typename Attempt>
bool WithRetries(std::u16string_view what, std::u16string_view names, Attempt attempt) {
    for (int n = 1;; ++n) {
        platform::SystemFailure failure;
        if (attempt(failure)) return true;
        if (n == kAttempts || platform::StopRequested()) return false;
        driver::LogDebug(u"Retrying %s: %d", {what, std::int64_t{n}});
        driver::LogSystemFailure(failure, names);
        RetryWait()(kRetryWaitMilliseconds);
    }
}

// True when `path` is the file the export's chunks went to, holding all of them (it is then
// synced to the disk); false, with a debug line, when it was replaced or changed meanwhile.
bool IsOwnCompleteFile(const std::u16string& path) {
    if (DxlTemporaryFile().IsCompleteAt(path)) return true;
    driver::LogDebug(u"Unable to write temp file: %s",
                     {std::u16string_view(kDxlTemporaryFileName)});
    return false;
}

// One attempt to delete what a failed export left; a file that stays is reported, since the
// next export cannot start while temp.tmp is there.
void Remove(const std::u16string& path, std::u16string_view name) {
    platform::SystemFailure failure;
    if (platform::DeleteFilePath(path, &failure) != platform::DeleteResult::failed) return;
    driver::LogDebug(u"Unable to delete %s", {name});
    driver::LogSystemFailure(failure, name);
}

}  // namespace

RetryWaitFunction& RetryWait() {
    static RetryWaitFunction wait = platform::SleepMilliseconds;
    return wait;
}

notes::NotesStatus WriteDxlFile(const DxlExportBody& body, std::u16string_view fileName) {
    const std::u16string temporary = driver::OutputFilePath(kDxlTemporaryFileName);
    platform::StagingFile& staging = DxlTemporaryFile();
    staging = platform::StagingFile(temporary);
    const bool cleared = WithRetries(
        u"delete DXL temporary file", kDxlTemporaryFileName, [&](platform::SystemFailure& failure) {
            return staging.Clear(&failure) != platform::DeleteResult::failed;
        });
    if (!cleared) {
        if (platform::StopRequested()) return notes::kStatusStopped;
        driver::LogMessage(driver::kLogWarning,
                           u"Unable to delete DXL temporary file (tried retry)");
        return notes::kStatusFileExists;
    }

    dxlWriteFailed = false;
    const notes::NotesStatus status = body();
    if (dxlWriteFailed) {
        Remove(temporary, kDxlTemporaryFileName);
        return notes::kStatusIoError;
    }
    if (status != 0) {
        Remove(temporary, kDxlTemporaryFileName);
        return status;
    }

    if (platform::StopRequested() || (staging.created() && !IsOwnCompleteFile(temporary))) {
        Remove(temporary, kDxlTemporaryFileName);
        return notes::kStatusIoError;
    }
    const std::u16string target = driver::OutputFilePath(fileName);
    const std::u16string names =
        std::u16string(kDxlTemporaryFileName) + u", " + std::u16string(fileName);
    platform::SystemFailure leftover;
    const bool moved =
        WithRetries(u"move DXL file into place", names, [&](platform::SystemFailure& failure) {
            return staging.PublishWithoutReplacing(target, &failure, &leftover);
        });
    if (!moved) {
        Remove(temporary, kDxlTemporaryFileName);
        if (platform::StopRequested()) return notes::kStatusStopped;
        driver::LogMessage(driver::kLogWarning,
                           u"Unable to move DXL file into place (tried retry)");
        return notes::kStatusCannotCreateFile;
    }
    // The move went by name: what arrived must be the file checked above.
    if (staging.created() && !IsOwnCompleteFile(target)) {
        Remove(target, fileName);
        return notes::kStatusIoError;
    }
    // Published: the temporary name that could not be removed only means the next export
    // cannot start until it is gone.
    if (leftover.call != nullptr) {
        driver::LogDebug(u"Unable to remove %s after moving it into place",
                         {std::u16string_view(kDxlTemporaryFileName)});
        driver::LogSystemFailure(leftover, kDxlTemporaryFileName);
    }
    return 0;
}

}  // namespace catalog
