#include "catalog/DxlChunkAppender.h"

#include <string_view>

#include "driver/RunLog.h"
#include "platform/StopRequest.h"

namespace catalog {

bool dxlWriteFailed = false;

platform::StagingFile& DxlTemporaryFile() {
    static platform::StagingFile temporaryFile;
    return temporaryFile;
}

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
    platform::OutputFile file = DxlTemporaryFile().Open(&failure);
    if (!file.IsOpen()) {
        driver::LogDebug(u"Unable to open temp file for writing: %s", {name});
        driver::LogSystemFailure(failure, name);
        dxlWriteFailed = true;
        return;
    }
    const std::string_view chunk(reinterpret_cast<const char*>(data), length);
    std::size_t written = 0;
    const bool whole = file.Write(chunk, &written, &failure);
    DxlTemporaryFile().Wrote(chunk.substr(0, written));
    if (!whole) {
        driver::LogDebug(
            u"Only wrote %u bytes of %u to temp file: %s",
            {static_cast<std::int64_t>(written), std::int64_t{length}, name});
        driver::LogSystemFailure(failure, name);
        dxlWriteFailed = true;
    }
    // The stream buffers: a write error may surface only when the buffer reaches the file, and
    // a chunk that never reached it is as lost as one that was written short.
    if (!file.Close() && !dxlWriteFailed) {
        driver::LogDebug(u"Unable to write temp file: %s", {name});
        dxlWriteFailed = true;
    }
}

}  // namespace catalog
