// Servers and database paths: the data directory is the local machine; other servers are the
// folders that servers.json maps their canonical names to.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "notessim/CTypes.h"
#include "notessim/Database.h"
#include "notessim/Handles.h"

namespace notessim {

struct ServerLocation {
    std::filesystem::path folder;
    std::string canonicalName;  // empty for the local machine (library character set)
};

// Finds the folder of `server` (library character set, any form, any letter case; empty: local).
STATUS LocateServer(std::string_view server, ServerLocation& location);

// The file of database `file` (a path below the server's folder) on `location`; 259 when the
// path is empty, leaves the folder, or names no file.
STATUS LocateDatabaseFile(const ServerLocation& location, std::string_view file,
                          std::filesystem::path& path);

struct OpenDatabaseObject : HandleObject {
    ~OpenDatabaseObject() override;
    std::shared_ptr<const SimDatabase> database;
    std::size_t heldBytes = 0;
    std::size_t fileBytes = 0;
    ServerLocation server;
    std::string filePath;  // as opened (library character set)
    std::filesystem::path file;
};

OpenDatabaseObject* FindOpenDatabase(DHANDLE handle, const char* operation);

// Opens a database on `server`; the handle must be released with CloseDatabase.
STATUS OpenDatabaseOn(std::string_view server, std::string_view file, DHANDLE& handle);

}  // namespace notessim
