// Database paths, opening and closing databases.
#include <cstring>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {

using binding::Api;

bool NetworkPathFits(const char* server, const char* file) {
    const std::size_t serverPart =
        server == nullptr || server[0] == '\0' ? 0 : std::strlen(server) + kServerSeparator.size();
    return serverPart + (file == nullptr ? 0 : std::strlen(file)) <= kLongestPath;
}

// The library cuts a path that does not fit and reports success, so that another database
// would be opened: such a path is refused before the call.
NotesStatus BuildNetworkPath(const char* port, const char* server, const char* file, char* path) {
    if (!NetworkPathFits(server, file)) return kStatusPathTooLong;
    const NotesStatus status = binding::Checked("OSPathNetConstruct",
                                                Api().OSPathNetConstruct(port, server, file, path));
    path[kLongestPath] = '\0';
    return status;
}

NotesStatus OpenDatabase(const char* path, DatabaseHandle* database) {
    binding::Received<notesapi::DBHANDLE> opened;
    return binding::CheckedHandle("NSFDbOpen", Api().NSFDbOpen(path, opened.Target()), opened,
                                  database);
}

void CloseDatabase(DatabaseHandle database) {
    binding::Checked("NSFDbClose", Api().NSFDbClose(database));
}

NotesStatus GetDatabasePath(DatabaseHandle database, char* canonical, char* expanded) {
    const NotesStatus status =
        binding::Checked("NSFDbPathGet", Api().NSFDbPathGet(database, canonical, expanded));
    for (char* path : {canonical, expanded}) {
        if (path != nullptr) path[kLongestPath] = '\0';
    }
    return status;
}

}  // namespace notes
