// The activity stream the scan reads, held open for the scan and closed on every way out.
#pragma once

#include <string_view>

#include "notes/NotesPlatform.h"

namespace logscan {

class LogStream {
public:
    LogStream() = default;
    LogStream(const LogStream&) = delete;
    LogStream& operator=(const LogStream&) = delete;
    ~LogStream() { Close(); }

    // Opens the database-use, HTTP and agent records of `database` on `server` (empty: the local
    // machine) within `range` (two times, the lower bound first). Names whose library form is
    // longer than 255 bytes are cut to what fits.
    notes::NotesStatus Open(std::u16string_view server, std::u16string_view database,
                            const notes::TimeDate* range);
    notes::ActivityStreamHandle handle() const { return handle_; }
    void Close();

private:
    notes::ActivityStreamHandle handle_ = 0;
    bool open_ = false;
};

}  // namespace logscan
