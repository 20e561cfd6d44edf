// Network paths and opening databases.
#include <cstring>
#include <string>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Runtime.h"
#include "notessim/Servers.h"
#include "notessim/Statuses.h"

using namespace notessim;

// As the reference says: always NOERROR, a path longer than MAXPATH - 1 bytes cut there.
STATUS LNPUBLIC OSPathNetConstruct(const char* /*port*/, const char* server, const char* file,
                                   char* retPath) try {
    SIM_FAULT_POINT("BuildNetworkPath");
    std::string joined;
    if (server != nullptr && server[0] != '\0') {
        joined = server;
        joined += "!!";
    }
    if (file != nullptr) joined += file;
    if (joined.size() > notesapi::MAXPATH - 1) joined.resize(notesapi::MAXPATH - 1);
    std::memcpy(retPath, joined.c_str(), joined.size() + 1);
    return 0;
} catch (...) {
    return CaughtException("OSPathNetConstruct");
}

STATUS LNPUBLIC NSFDbOpen(const char* path, notesapi::DBHANDLE* retDatabase) try {
    SIM_FAULT_POINT("OpenDatabase");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    const std::string_view full = path == nullptr ? "" : path;
    const std::size_t bang = full.find("!!");
    if (bang == std::string_view::npos) return OpenDatabaseOn("", full, *retDatabase);
    return OpenDatabaseOn(full.substr(0, bang), full.substr(bang + 2), *retDatabase);
} catch (...) {
    return CaughtException("NSFDbOpen");
}

STATUS LNPUBLIC NSFDbClose(notesapi::DBHANDLE database) try {
    return Release("NSFDbClose", HandleKind::database, database, "CloseDatabase");
} catch (...) {
    return CaughtException("NSFDbClose");
}

STATUS LNPUBLIC NSFDbPathGet(notesapi::DBHANDLE database, char* retCanonical,
                             char* retExpanded) try {
    SIM_FAULT_POINT("GetDatabasePath");
    const OpenDatabaseObject* opened = FindOpenDatabase(database, "GetDatabasePath");
    if (opened == nullptr) return kStatusInvalidHandle;
    std::string path = opened->server.canonicalName.empty()
                           ? opened->filePath
                           : opened->server.canonicalName + "!!" + opened->filePath;
    if (path.size() > 255) path.resize(255);
    if (retCanonical != nullptr) std::memcpy(retCanonical, path.c_str(), path.size() + 1);
    if (retExpanded != nullptr) std::memcpy(retExpanded, path.c_str(), path.size() + 1);
    return 0;
} catch (...) {
    return CaughtException("NSFDbPathGet");
}
