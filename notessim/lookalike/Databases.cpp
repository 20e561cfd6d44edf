// Network paths and databases.
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

STATUS LNPUBLIC OSPathNetConstruct(const char* port, const char* server, const char* file,
                                   char* retPath) try {
    return notes::BuildNetworkPath(port, server, file, retPath);
} catch (...) {
    return CaughtException("OSPathNetConstruct");
}

STATUS LNPUBLIC NSFDbOpen(const char* path, DBHANDLE* retDatabase) try {
    return notes::OpenDatabase(path, retDatabase);
} catch (...) {
    return CaughtException("NSFDbOpen");
}

STATUS LNPUBLIC NSFDbClose(DBHANDLE database) try {
    return Release("NSFDbClose", notessim::HandleKind::database, database, notes::CloseDatabase);
} catch (...) {
    return CaughtException("NSFDbClose");
}

STATUS LNPUBLIC NSFDbPathGet(DBHANDLE database, char* retCanonical, char* retExpanded) try {
    return notes::GetDatabasePath(database, retCanonical, retExpanded);
} catch (...) {
    return CaughtException("NSFDbPathGet");
}
