#include "logscan/LogStream.h"

#include "driver/LibraryName.h"

namespace logscan {
namespace {

constexpr char kTypeFilter[] = "Domino.NOTES.Database|Domino.HTTP|Domino.AGENT";

}  // namespace

notes::NotesStatus LogStream::Open(std::u16string_view server, std::u16string_view database,
                                   const notes::TimeDate* range) {
    Close();
    driver::LibraryNameBuffer serverName{};
    driver::LibraryNameBuffer databaseName{};
    driver::ToLibraryName(server, serverName);
    driver::ToLibraryName(database, databaseName);
    const notes::NotesStatus status = notes::OpenActivityStream(
        &handle_, serverName.data(), databaseName.data(), kTypeFilter, 0, range);
    open_ = status == 0;
    return status;
}

void LogStream::Close() {
    if (!open_) return;
    notes::CloseActivityStream(handle_);
    open_ = false;
}

}  // namespace logscan
