#include "notessim/Statuses.h"

#include <array>
#include <map>
#include <cstdio>
#include <string>
#include <utility>

namespace notessim {
namespace {

constexpr std::array<std::pair<STATUS, std::string_view>, 29> kTexts = {{
    {kStatusFileNotFound, "File does not exist"},
    {kStatusFileExists, "File already exists"},
    {kStatusCannotCreateFile, "File cannot be created"},
    {kStatusIoError, "I/O data error"},
    {kStatusStopped, "Operation stopped at your request"},
    {kStatusIniNotFound, "The NOTES.INI file cannot be found on the search path (PATH)"},
    {kStatusPathTooLong, "The path name is too long"},
    {kStatusNoMailServer, "The MailServer setting is not in the Notes environment"},
    {kStatusValueTooLong, "Value too long"},
    {kStatusLibraryNotLoaded,
     "Program library not loaded. Required .DLL missing or could not load."},
    {kStatusNotInitialized, "Notes needs to be initialized before calling into NSF"},
    {kStatusInvalidHandle, "Object handle is invalid"},
    {kStatusServerUnreachable, "Unable to find path to server"},
    {kStatusBadEnvironmentFile,
     "The program cannot interpret this file due to an invalid structure"},
    {kStatusWrongPassword,
     "Wrong Password. (Passwords are case sensitive - be sure to use correct upper and lower "
     "case.)"},
    {kStatusBadIdFile, "The specified ID file has been corrupted, or is not an ID file."},
    {kStatusFormulaSyntax, "Formula Error"},
    {kStatusViewNotFound, "Entry not found in index"},
    {kStatusItemNotFound, "Note item not found"},
    {kStatusBufferTooSmall, "Output Buffer Overflow"},
    {kStatusNotInList, "No such entry"},
    {kStatusBadNamesDatabase, "Domino Directory does not exist"},
    {notesapi::ERR_EM_CONTINUE, "continue"},
    {kStatusNoteNotFound, "Invalid or nonexistent document"},
    {kStatusNoteUnreadable, "You are not authorized to perform that operation"},
    {kStatusUnsupportedEvent, "Extension number out of bounds"},
    {kStatusUnsupportedHook, "Extension registration flags illegal"},
    {kStatusOutOfMemory, "Insufficient memory."},
    {kStatusUnsupportedArgument, "Invalid arguments"},
}};

std::map<STATUS, std::string>& Details() {
    static std::map<STATUS, std::string> details;
    return details;
}

}  // namespace

void SetStatusDetail(STATUS status, std::string text) { Details()[status] = std::move(text); }

void ResetStatusDetails() { Details().clear(); }

std::string StatusText(STATUS status) {
    if (const auto found = Details().find(status); found != Details().end()) return found->second;
    for (const auto& [code, text] : kTexts) {
        if (code == status) return std::string(text);
    }
    char text[64];
    std::snprintf(text, sizeof text, "Unknown status 0x%04X (%u)", status, status);
    return text;
}

}  // namespace notessim
