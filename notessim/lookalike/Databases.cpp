// Network paths and databases.
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

STATUS LNPUBLIC OSPathNetConstruct(const char* port, const char* server, const char* file,
                                   char* retPath) {
    return notes::BuildNetworkPath(port, server, file, retPath);
}

STATUS LNPUBLIC NSFDbOpen(const char* path, DBHANDLE* retDatabase) {
    return notes::OpenDatabase(path, retDatabase);
}

STATUS LNPUBLIC NSFDbClose(DBHANDLE database) {
    return Release("NSFDbClose", notessim::HandleKind::database, database, notes::CloseDatabase);
}

STATUS LNPUBLIC NSFDbPathGet(DBHANDLE database, char* retCanonical, char* retExpanded) {
    return notes::GetDatabasePath(database, retCanonical, retExpanded);
}
