#include "notessim/Statuses.h"

#include <array>
#include <map>
#include <cstdio>
#include <string>
#include <utility>

namespace notessim {
namespace {

constexpr std::array<std::pair<notes::NotesStatus, std::string_view>, 26> kTexts = {{
    {notes::kStatusFileNotFound, "File does not exist"},
    {notes::kStatusFileExists, "File already exists"},
    {notes::kStatusCannotCreateFile, "File cannot be created"},
    {notes::kStatusIoError, "I/O data error"},
    {notes::kStatusStopped, "Operation stopped at your request"},
    {notes::kStatusIniNotFound, "The NOTES.INI file cannot be found on the search path (PATH)"},
    {notes::kStatusPathTooLong, "The path name is too long"},
    {notes::kStatusNoMailServer, "The MailServer setting is not in the Notes environment"},
    {notes::kStatusPasswordTooLong, "The password is too long"},
    {kStatusNotInitialized, "The Notes runtime has not been initialized"},
    {kStatusInvalidHandle, "Invalid handle"},
    {kStatusServerUnreachable, "Unable to find path to server"},
    {kStatusBadEnvironmentFile, "Environment file is damaged"},
    {kStatusWrongPassword, "Wrong Password. (Passwords are case sensitive - be sure to use correct upper and lower case.)"},
    {kStatusBadIdFile, "The ID file is damaged"},
    {kStatusFormulaSyntax, "Formula error"},
    {kStatusViewNotFound, "Cannot find the specified view"},
    {kStatusItemNotFound, "Note item not found"},
    {kStatusNameTooLong, "The converted name does not fit the buffer"},
    {kStatusNotInList, "Entry not found in list"},
    {kStatusBadNamesDatabase, "The name lookup could not be done"},
    {kStatusBufferTooSmall, "The output buffer is too small"},
    {notes::kHookContinue, "Continue the operation"},
    {kStatusNoteNotFound, "Invalid or nonexistent document"},
    {kStatusUnsupportedHook, "This extension event is not supported"},
    {kStatusUnsupportedArgument, "An argument is outside what the Notes runtime supports"},
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
