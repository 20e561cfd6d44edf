// Network paths and opening databases.
#include <cstring>
#include <string>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/Runtime.h"
#include "notessim/Servers.h"
#include "notessim/Statuses.h"

namespace notes {

using namespace notessim;

NotesStatus BuildNetworkPath(const char* /*port*/, const char* server, const char* file,
                             char* path) {
    SIM_FAULT_POINT("BuildNetworkPath");
    std::string joined;
    if (server != nullptr && server[0] != '\0') {
        joined = server;
        joined += "!!";
    }
    if (file != nullptr) joined += file;
    if (joined.size() > 255) return kStatusPathTooLong;
    std::memcpy(path, joined.c_str(), joined.size() + 1);
    return 0;
}

NotesStatus OpenDatabase(const char* path, DatabaseHandle* database) {
    SIM_FAULT_POINT("OpenDatabase");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    const std::string_view full = path == nullptr ? "" : path;
    const std::size_t bang = full.find("!!");
    if (bang == std::string_view::npos) return OpenDatabaseOn("", full, *database);
    return OpenDatabaseOn(full.substr(0, bang), full.substr(bang + 2), *database);
}

void CloseDatabase(DatabaseHandle database) {
    ReleaseHandle(HandleKind::database, database, "CloseDatabase");
}

NotesStatus GetDatabasePath(DatabaseHandle database, char* canonical, char* expanded) {
    SIM_FAULT_POINT("GetDatabasePath");
    const OpenDatabaseObject* opened = FindOpenDatabase(database, "GetDatabasePath");
    if (opened == nullptr) return kStatusInvalidHandle;
    std::string path = opened->server.canonicalName.empty()
                           ? opened->filePath
                           : opened->server.canonicalName + "!!" + opened->filePath;
    if (path.size() > 255) path.resize(255);
    if (canonical != nullptr) std::memcpy(canonical, path.c_str(), path.size() + 1);
    if (expanded != nullptr) std::memcpy(expanded, path.c_str(), path.size() + 1);
    return 0;
}

}  // namespace notes
