#include "catalog/DxlFileWriter.h"

#include <string>

#include "catalog/DxlChunkAppender.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/Files.h"

namespace catalog {
namespace {

constexpr int kAttempts = 5;
constexpr unsigned kRetryWaitMilliseconds = 1000;

// Runs `attempt` up to five times, with a debug line and a wait after each failure but the last.
template <typename Attempt>
bool WithRetries(std::u16string_view what, Attempt attempt) {
    for (int n = 1;; ++n) {
        if (attempt()) return true;
        if (n == kAttempts) return false;
        driver::LogDebug(u"Retrying %s: %d", {what, std::int64_t{n}});
        RetryWait()(kRetryWaitMilliseconds);
    }
}

}  // namespace

RetryWaitFunction& RetryWait() {
    static RetryWaitFunction wait = platform::SleepMilliseconds;
    return wait;
}

notes::NotesStatus WriteDxlFile(const DxlExportBody& body, std::u16string_view fileName) {
    const std::u16string temporary = driver::OutputFilePath(kDxlTemporaryFileName);
    const bool cleared = WithRetries(u"delete DXL temporary file", [&] {
        return platform::DeleteFilePath(temporary) != platform::DeleteResult::failed;
    });
    if (!cleared) {
        driver::LogMessage(driver::kLogWarning,
                           u"Unable to delete DXL temporary file (tried retry)");
        return notes::kStatusFileExists;
    }

    dxlWriteFailed = false;
    const notes::NotesStatus status = body();
    if (dxlWriteFailed) {
        platform::DeleteFilePath(temporary);
        return notes::kStatusIoError;
    }
    if (status != 0) {
        platform::DeleteFilePath(temporary);
        return status;
    }

    const bool moved = WithRetries(u"move DXL file into place", [&] {
        return platform::MoveFileNoReplace(temporary, driver::OutputFilePath(fileName));
    });
    if (!moved) {
        platform::DeleteFilePath(temporary);
        driver::LogMessage(driver::kLogWarning,
                           u"Unable to move DXL file into place (tried retry)");
        return notes::kStatusCannotCreateFile;
    }
    return 0;
}

}  // namespace catalog
