#include "logscan/LogStream.h"

#include "driver/LibraryName.h"
#include "notes/NotesStatuses.h"

namespace logscan {
namespace {

constexpr char kTypeFilter[] = "Domino.NOTES.Database|Domino.HTTP|Domino.AGENT";

}  // namespace

notes::NotesStatus LogStream::Open(std::u16string_view server, std::u16string_view database,
                                   const notes::TimeDate* range) {
    driver::LibraryNameBuffer serverName{};
    driver::LibraryNameBuffer databaseName{};
    // The library finds the database on the server as a path does: it must fit as one.
    if (!driver::ToLibraryName(server, serverName) || !driver::ToLibraryName(database, databaseName) ||
        !notes::NetworkPathFits(serverName.data(), databaseName.data())) {
        return notes::kStatusPathTooLong;
    }
    return notes::OpenActivityStream(stream_.Receive(), serverName.data(), databaseName.data(),
                                     kTypeFilter, 0, range);
}

}  // namespace logscan
