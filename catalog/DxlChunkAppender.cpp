#include "catalog/DxlChunkAppender.h"

#include <cerrno>
#include <cstdio>
#include <string_view>

#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "platform/FileIntegrity.h"
#include "platform/Files.h"
#include "platform/StopRequest.h"

namespace catalog {

bool dxlWriteFailed = false;
DxlTemporaryFile dxlTemporaryFile;

namespace {

// The first chunk creates the file, which must not exist; every later one opens that same file
// again: a file put in its place since (a link above all) is not written to.
std::FILE* OpenTemporaryFile(const std::u16string& path, platform::SystemFailure& failure) {
    platform::FileIdentity identity;
    if (!dxlTemporaryFile.created) {
        std::FILE* file =
            platform::OpenTextStream(path, platform::OpenMode::createNew, &identity, &failure);
        if (file != nullptr) dxlTemporaryFile = {true, identity, 0};
        return file;
    }
    std::FILE* file =
        platform::OpenTextStream(path, platform::OpenMode::appendExisting, &identity, &failure);
    if (file != nullptr && !(identity == dxlTemporaryFile.identity)) {
        std::fclose(file);
        failure = {};  // the open succeeded, on another file than the export's
        return nullptr;
    }
    return file;
}

}  // namespace

void AppendDxlChunk(const unsigned char* data, std::uint32_t length, void* context) {
    // A stop on request drops the rest of the export like a failed write: nothing is published.
    if (dxlWriteFailed || platform::StopRequested()) {
        dxlWriteFailed = true;
        return;
    }
    const std::u16string_view name = static_cast<const char16_t*>(context);
    // A chunk the library counts but does not hand over is lost as a chunk that was not written.
    if (data == nullptr && length > 0) {
        driver::LogDebug(u"The DXL exporter handed over a chunk of %u bytes without its data",
                         {std::int64_t{length}});
        dxlWriteFailed = true;
        return;
    }
    platform::SystemFailure failure;
    std::FILE* file = OpenTemporaryFile(driver::OutputFilePath(name), failure);
    if (file == nullptr) {
        driver::LogDebug(u"Unable to open temp file for writing: %s", {name});
        driver::LogSystemFailure(failure, name);
        dxlWriteFailed = true;
        return;
    }
    errno = 0;
    const std::size_t written = length == 0 ? 0 : std::fwrite(data, 1, length, file);
    dxlTemporaryFile.size +=
        platform::TextStreamBytes({reinterpret_cast<const char*>(data), written});
    if (written != length) {
        failure = platform::FailureOf("write");  // the error as the write left it
        driver::LogDebug(
            u"Only wrote %u bytes of %u to temp file: %s",
            {static_cast<std::int64_t>(written), std::int64_t{length}, name});
        driver::LogSystemFailure(failure, name);
        dxlWriteFailed = true;
    }
    // The stream buffers: a write error may surface only when the buffer reaches the file, and
    // a chunk that never reached it is as lost as one that was written short.
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!dxlWriteFailed && !(flushed && closed)) {
        driver::LogDebug(u"Unable to write temp file: %s", {name});
        dxlWriteFailed = true;
    }
}

}  // namespace catalog
