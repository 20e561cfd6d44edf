#include "notessim/Servers.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "notessim/Files.h"
#include "notessim/Names.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"

namespace notessim {
namespace {

STATUS Unreachable(std::string_view server) {
    return Diagnose(kStatusServerUnreachable,
                    "Unable to find path to server " + LibraryTextToUtf8(server));
}

}  // namespace

STATUS LocateServer(std::string_view server, ServerLocation& location) {
    const std::filesystem::path data = State().dataDirectory;
    if (server.empty()) {
        location = {data, ""};
        return 0;
    }
    const std::filesystem::path listFile = data / "servers.json";
    const auto content = ReadWholeFile(listFile);
    if (!content) return Unreachable(server);
    const nlohmann::json list = nlohmann::json::parse(*content, nullptr, false);
    if (list.is_discarded() || !list.is_object()) {
        return Diagnose(kStatusBadEnvironmentFile,
                        "Environment file is damaged: " + PathToUtf8(listFile));
    }
    const std::string wanted = CanonicalizeName(LibraryTextToUtf8(server));
    for (const auto& [name, folder] : list.items()) {
        if (EqualsIgnoringCase(CanonicalizeName(name), wanted) && folder.is_string()) {
            location = {data / PathFromUtf8(folder.get<std::string>()), Utf8ToLibraryText(name)};
            return 0;
        }
    }
    return Unreachable(server);
}

STATUS LocateDatabaseFile(const ServerLocation& location, std::string_view file,
                          std::filesystem::path& path) {
    const std::filesystem::path relative = PathFromUtf8(LibraryTextToUtf8(file));
    if (relative.empty() || relative.is_absolute()) return kStatusFileNotFound;
    for (const auto& part : relative) {
        if (part == "..") return kStatusFileNotFound;
    }
    path = location.folder / relative;
    return FileExists(path) ? 0 : kStatusFileNotFound;
}

OpenDatabaseObject::~OpenDatabaseObject() {
    State().heldBytes -= std::min(State().heldBytes, heldBytes);
    State().fileBytes -= std::min(State().fileBytes, fileBytes);
}

OpenDatabaseObject* FindOpenDatabase(DHANDLE handle, const char* operation) {
    return FindHandleAs<OpenDatabaseObject>(HandleKind::database, handle, operation);
}

STATUS OpenDatabaseOn(std::string_view server, std::string_view file, DHANDLE& handle) {
    auto opened = std::make_unique<OpenDatabaseObject>();
    if (const auto status = LocateServer(server, opened->server); status != 0) return status;
    if (const auto status = LocateDatabaseFile(opened->server, file, opened->file); status != 0) {
        return status;
    }
    const auto content = ReadWholeFile(opened->file);
    if (!content) return kStatusFileNotFound;
    STATUS status = 0;
    opened->database = ParseDatabase(*content, opened->file, status);
    if (status != 0) return status;
    opened->filePath = std::string(file);
    RuntimeState& state = State();
    opened->heldBytes = opened->database->MemoryBytes();
    ClaimMemory(opened->heldBytes);
    opened->fileBytes = content->size();
    state.heldBytes += opened->heldBytes;
    state.fileBytes += opened->fileBytes;
    state.peakHeldBytes = std::max(state.peakHeldBytes, state.heldBytes);
    state.peakFileBytes = std::max(state.peakFileBytes, state.fileBytes);
    handle = RegisterHandle(HandleKind::database, std::move(opened));
    return 0;
}

}  // namespace notessim
