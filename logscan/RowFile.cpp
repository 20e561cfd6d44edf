#include "logscan/RowFile.h"

#include "platform/Files.h"

namespace logscan {

bool RowFile::Open(const std::u16string& path) {
    Close();
    stream_ = platform::OpenTextStream(path, "w");
    return stream_ != nullptr;
}

bool RowFile::Close() {
    if (stream_ == nullptr) return true;
    const bool flushed = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return flushed && closed;
}

}  // namespace logscan
