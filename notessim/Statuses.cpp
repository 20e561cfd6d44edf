#include "notessim/Statuses.h"

#include <array>
#include <map>
#include <cstdio>
#include <string>
#include <utility>

namespace notessim {
namespace {

constexpr std::array<std::pair<notes::NotesStatus, std::string_view>, 29> kTexts = {{
    {notes::kStatusFileNotFound, "File does not exist"},
    {notes::kStatusFileExists, "File already exists"},
    {notes::kStatusCannotCreateFile, "File cannot be created"},
    {notes::kStatusIoError, "I/O data error"},
    {notes::kStatusStopped, "Operation stopped at your request"},
    {notes::kStatusIniNotFound, "The NOTES.INI file cannot be found on the search path (PATH)"},
    {notes::kStatusPathTooLong, "The path name is too long"},
    {notes::kStatusNoMailServer, "The MailServer setting is not in the Notes environment"},
    {notes::kStatusPasswordTooLong, "Value too long"},
    {notes::kStatusNotLoaded,
     "Program library not loaded. Required .DLL missing or could not load."},
    {kStatusNotInitialized, "Notes needs to be initialized before calling into NSF"},
    {kStatusInvalidHandle, "Object handle is invalid"},
    {kStatusServerUnreachable, "Unable to find path to server"},
    {kStatusBadEnvironmentFile,
     "The program cannot interpret this file due to an invalid structure"},
    {kStatusWrongPassword, "Wrong Password. (Passwords are case sensitive - be sure to use correct upper and lower case.)"},
    {kStatusBadIdFile, "The specified ID file has been corrupted, or is not an ID file."},
    {kStatusFormulaSyntax, "Formula Error"},
    {kStatusViewNotFound, "Entry not found in index"},
    {kStatusItemNotFound, "Note item not found"},
    {kStatusBufferTooSmall, "Output Buffer Overflow"},
    {kStatusNotInList, "No such entry"},
    {kStatusBadNamesDatabase, "Domino Directory does not exist"},
    {notes::kHookContinue, "continue"},
    {kStatusNoteNotFound, "Invalid or nonexistent document"},
    {kStatusNoteUnreadable, "You are not authorized to perform that operation"},
    {kStatusUnsupportedEvent, "Extension number out of bounds"},
    {kStatusUnsupportedHook, "Extension registration flags illegal"},
    {kStatusOutOfMemory, "Insufficient memory."},
    {kStatusUnsupportedArgument, "Invalid arguments"},
}};

std::map<notes::NotesStatus, std::string>& Details() {
    static std::map<notes::NotesStatus, std::string> details;
    return details;
}

}  // namespace

void SetStatusDetail(notes::NotesStatus status, std::string text) {
    Details()[status] = std::move(text);
}

void ResetStatusDetails() { Details().clear(); }

std::string StatusText(notes::NotesStatus status) {
    if (const auto found = Details().find(status); found != Details().end()) return found->second;
    for (const auto& [code, text] : kTexts) {
        if (code == status) return std::string(text);
    }
    char text[64];
    std::snprintf(text, sizeof text, "Unknown status 0x%04X (%u)", status, status);
    return text;
}

}  // namespace notessim
