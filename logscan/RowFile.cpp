#include "logscan/RowFile.h"

#include "platform/FileIntegrity.h"
#include "platform/Files.h"

namespace logscan {
namespace {

// Up to the last line feed outside double quotes: a quoted field may hold line feeds, and its
// double quotes come in pairs.
void ScanCompleteRows(platform::CompleteLineScan& scan, std::string_view rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == '"') scan.quoted = !scan.quoted;
        if (rows[i] == '\n' && !scan.quoted) scan.kept = scan.scanned + i + 1;
    }
}

}  // namespace

bool RowFile::Open(const std::u16string& path) {
    Close();
    path_ = path;
    stream_ = platform::OpenTextStream(path, platform::OpenMode::replace);
    return stream_ != nullptr;
}

bool RowFile::Close() {
    if (stream_ == nullptr) return true;
    const bool flushed = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return flushed && closed;
}

bool RowFile::CloseKeepingCompleteRows(bool writeFailed) {
    const bool open = stream_ != nullptr;
    const bool closed = Close();
    if (open && (writeFailed || !closed)) platform::CutRegularFile(path_, ScanCompleteRows);
    return closed;
}

}  // namespace logscan
