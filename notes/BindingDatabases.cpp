// Database paths, opening and closing databases.
#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {

using binding::Api;

NotesStatus BuildNetworkPath(const char* port, const char* server, const char* file, char* path) {
    return binding::Checked("OSPathNetConstruct",
                            Api().OSPathNetConstruct(port, server, file, path));
}

NotesStatus OpenDatabase(const char* path, DatabaseHandle* database) {
    binding::Received<notesapi::DBHANDLE> opened;
    if (const NotesStatus status =
            binding::Checked("NSFDbOpen", Api().NSFDbOpen(path, opened.Target()));
        status != 0) {
        return status;
    }
    return binding::Deliver(opened, database, kStatusInvalidHandle);
}

void CloseDatabase(DatabaseHandle database) {
    binding::Checked("NSFDbClose", Api().NSFDbClose(database));
}

NotesStatus GetDatabasePath(DatabaseHandle database, char* canonical, char* expanded) {
    return binding::Checked("NSFDbPathGet", Api().NSFDbPathGet(database, canonical, expanded));
}

}  // namespace notes
