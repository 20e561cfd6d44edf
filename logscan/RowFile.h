// logscan.txt: the text stream the rows are printed to, and closing it without losing a write
// error that shows only when the buffered rows reach the file.
#pragma once

#include <cstdio>
#include <string>

namespace logscan {

class RowFile {
public:
    RowFile() = default;
    RowFile(const RowFile&) = delete;
    RowFile& operator=(const RowFile&) = delete;
    ~RowFile() { Close(); }

    // Creates the file, or empties an existing one.
    bool Open(const std::u16string& path);
    std::FILE* stream() const { return stream_; }
    // Flushes and closes; false when any row printed to the stream failed to reach the file.
    bool Close();
    // Closes, and after a write that failed part-way cuts the file back to its last complete
    // row. False when a row failed to reach the file.
    bool CloseKeepingCompleteRows(bool writeFailed);

private:
    std::FILE* stream_ = nullptr;
    std::u16string path_;
};

}  // namespace logscan
