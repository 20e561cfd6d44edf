// The activity stream the scan reads, held open for the scan and closed on every way out.
#pragma once

#include <string_view>

#include "notes/NotesHandleOwner.h"

namespace logscan {

class LogStream {
public:
    // Opens the database-use, HTTP and agent records of `database` on `server` (empty: the local
    // machine) within `range` (two times, the lower bound first). Names whose library form is
    // longer than 255 bytes, or that together do not fit a path, are kStatusPathTooLong (462).
    notes::NotesStatus Open(std::u16string_view server, std::u16string_view database,
                            const notes::TimeDate* range);
    notes::ActivityStreamHandle handle() const { return stream_.Get(); }
    void Close() { stream_.Reset(); }

private:
    notes::ActivityStreamOwner stream_;
};

}  // namespace logscan
