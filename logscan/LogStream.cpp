#include "logscan/LogStream.h"

#include "driver/LibraryName.h"

namespace logscan {
namespace {

constexpr char kTypeFilter[] = "Domino.NOTES.Database|Domino.HTTP|Domino.AGENT";

}  // namespace

notes::NotesStatus LogStream::Open(std::u16string_view server, std::u16string_view database,
                                   const notes::TimeDate* range) {
    driver::LibraryNameBuffer serverName{};
    driver::LibraryNameBuffer databaseName{};
    driver::ToLibraryName(server, serverName);
    driver::ToLibraryName(database, databaseName);
    return notes::OpenActivityStream(stream_.Receive(), serverName.data(), databaseName.data(),
                                     kTypeFilter, 0, range);
}

}  // namespace logscan
