// The run's output files, and the staging files that become them: every rule of writing them
// kept in one place.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/Files.h"
#include "platform/SystemFailure.h"

namespace platform {

enum class OpenMode {
    replace,         // create, or empty an existing file
    append,          // create if absent
    createNew,       // fails when anything of that name exists
    appendExisting,  // fails when the file is absent
};

// What a file cut back after a failed write keeps: whole lines, or whole CSV rows (a line feed
// inside double quotes belongs to its row).
enum class LineEnds { lines, csvRows };

// An output file: a C stream in text mode, so that every line feed written reaches the file as
// CR LF on every platform. A symbolic link, a FIFO, a device or anything else that is not a
// regular file is never opened (nor followed, nor waited for). It is closed when it goes.
class OutputFile {
public:
    OutputFile() = default;
    // `failure`, when given, receives the system's reason when the file cannot be opened.
    OutputFile(const std::u16string& path, OpenMode mode, SystemFailure* failure = nullptr);
    // A file without a name in the system's temporary directory (on POSIX $TMPDIR, else /tmp),
    // open for writing and reading back in binary mode; it disappears when closed.
    static OutputFile AnonymousTemporary();
    ~OutputFile() { Close(); }
    OutputFile(OutputFile&& other) noexcept;
    OutputFile& operator=(OutputFile&& other) noexcept;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool IsOpen() const { return stream_ != nullptr; }
    // The stream, for formatted prints; a print that fails shows in Close as well.
    std::FILE* stream() const { return stream_; }
    // Which file was opened: the same identity means the same file, whatever was renamed since.
    const FileIdentity& identity() const { return identity_; }

    // Writes `bytes`; false, with the system's reason in `failure`, when not all were taken.
    // `written` receives how many were.
    bool Write(std::string_view bytes, std::size_t* written = nullptr,
               SystemFailure* failure = nullptr);

    // Flushes, then closes: false when anything written since the open did not reach the file
    // (a stream's buffer may meet the error only now). Flushed apart from the close, as Wine's C
    // runtime drops the error of the flush in fclose.
    bool Close();
    // Closes; after a write that failed (`writeFailed`, or the close's own failure) cuts the file
    // back to its last whole line or row, so that no half of one stays (and, on a full disk, the
    // run log's line finds room).
    bool CloseKeepingWholeLines(bool writeFailed, LineEnds ends);

private:
    std::FILE* stream_ = nullptr;
    std::u16string path_;
    FileIdentity identity_;
};

// The bytes that `text`, written to an output file, takes in the file: each line feed takes two.
std::uint64_t StoredBytes(std::string_view text);

// A file written under a staging name beside its final name, which takes the final name only as
// the complete file this run wrote: made anew (whatever the staging name holds is removed, never
// written through), every later open checked to be that same file, and its identity and size
// checked and its data synced to the disk before, and after, it takes its final name.
class StagingFile {
public:
    explicit StagingFile(std::u16string path = {}) : path_(std::move(path)) {}

    const std::u16string& path() const { return path_; }
    bool created() const { return created_; }

    // Removes whatever the staging name holds.
    DeleteResult Clear(SystemFailure* failure = nullptr) const;

    // The staging file to write to: the first open creates it (nothing may have the name then);
    // every later one opens that same file again, and refuses another put in its place (a link
    // above all), with an empty `failure`, as the open itself succeeded.
    OutputFile Open(SystemFailure* failure = nullptr);
    // Counts `text`, written to it, among what the complete file holds.
    void Wrote(std::string_view text) { size_ += StoredBytes(text); }

    // True when `at` (the staging name, or the final name after the move) is this file with
    // everything written to it; its data are then on the disk.
    bool IsCompleteAt(const std::u16string& at) const;

    // Moves it to `target`, never in place of a file there. True once `target` names it: when
    // the staging name could not be removed after that, `leftover` receives the reason.
    bool PublishWithoutReplacing(const std::u16string& target, SystemFailure* failure = nullptr,
                                 SystemFailure* leftover = nullptr) const;
    // Moves it to `target` in one step, replacing a file there: a reader sees either the old or
    // the new file, never none or a part.
    bool PublishReplacing(const std::u16string& target) const;

private:
    std::u16string path_;
    bool created_ = false;
    FileIdentity identity_;
    std::uint64_t size_ = 0;
};

}  // namespace platform
