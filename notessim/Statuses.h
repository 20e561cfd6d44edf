// The runtime's statuses and their message texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notessim/CTypes.h"

namespace notessim {

// The real library's numbers for the errors the runtime models, with its names; their texts are
// those of the toolkit's headers (Statuses.cpp).
constexpr STATUS kStatusFileNotFound = 259;            // ERR_NOEXIST
constexpr STATUS kStatusFileExists = 260;              // ERR_EXISTS
constexpr STATUS kStatusCannotCreateFile = 264;        // ERR_CREATE
constexpr STATUS kStatusIoError = 270;                 // ERR_IOERROR
constexpr STATUS kStatusStopped = 413;                 // ERR_CANCEL
constexpr STATUS kStatusIniNotFound = 421;             // ERR_NO_NOTESINI
constexpr STATUS kStatusPathTooLong = 462;             // ERR_PATH_NAME_TOO_LONG
constexpr STATUS kStatusNoMailServer = 0x2011;         // ERR_REG_NO_MAIL_INFO
constexpr STATUS kStatusValueTooLong = 0x040F;         // ERR_VALUE_LENGTH
constexpr STATUS kStatusLibraryNotLoaded = 0x0140;     // ERR_LIBLOAD2
constexpr STATUS kStatusNotInitialized = 0x0217;       // ERR_NOTES_NOT_INITIALIZED
constexpr STATUS kStatusInvalidHandle = 0x02B4;        // ERR_HDL_DEALLOC
constexpr STATUS kStatusServerUnreachable = 0x0803;    // ERR_SERVER_NOT_FOUND
constexpr STATUS kStatusNotADatabase = 0x0201;         // ERR_NOT_NSF
constexpr STATUS kStatusBadEnvironmentFile = 0x0206;   // ERR_STRUCT
constexpr STATUS kStatusWrongPassword = 0x1908;        // ERR_SECURE_BADPASSWORD
constexpr STATUS kStatusBadIdFile = 0x1754;            // ERR_BSAFE_INVUSERIDFILE
constexpr STATUS kStatusFormulaSyntax = 0x0501;        // ERR_FORMULA_COMPILATION
constexpr STATUS kStatusViewNotFound = 0x0404;         // ERR_NOT_FOUND
constexpr STATUS kStatusViewNoteDeleted = 0x0225;      // ERR_NOTE_DELETED
constexpr STATUS kStatusNoSuchNameSpace = 0x0309;      // ERR_NO_SUCH_NAMESPACE
constexpr STATUS kStatusNoNamesFile = 0x030A;          // ERR_NO_NAMES_FILE
constexpr STATUS kStatusNoSuchItem = 0x0310;           // ERR_NO_SUCH_ITEM
constexpr STATUS kStatusNoMoreMembers = 0x0311;        // ERR_NO_MORE_MEMBERS: no text
constexpr STATUS kStatusUnsupportedType = 0x0312;      // ERR_UNSUPPORTED_TYPE
constexpr STATUS kStatusBufferTooSmall = 0x0409;       // ERR_BUFFER_OVERFLOW
constexpr STATUS kStatusNameTooLong = 0x040E;          // ERR_NAME_LENGTH
constexpr STATUS kStatusNotInList = 0x0605;            // ERR_ODS_NO_SUCH_ENTRY
constexpr STATUS kStatusNoteNotFound = 0x0227;         // ERR_INVALID_NOTE
constexpr STATUS kStatusNoteUnreadable = 0x0246;       // ERR_NOACCESS
constexpr STATUS kStatusUnsupportedEvent = 0x02D1;     // ERR_EM_ILLEGAL
constexpr STATUS kStatusUnsupportedHook = 0x02D2;      // ERR_EM_ILLEGALFLAGS
constexpr STATUS kStatusOutOfMemory = 0x0107;          // ERR_MEMORY
// A value the runtime's narrower parameter cannot take, or a reserved argument that is set.
constexpr STATUS kStatusUnsupportedArgument = 0x0495;  // ERR_MISC_INVALID_ARGS

// The library's text of `status` (flag bits masked off): the toolkit headers' text, empty for a
// status that has none stored (an internal one, or one the runtime does not know).
std::string_view StatusText(STATUS status);

// What the runtime can tell about a failure beyond its status (which file, which server, which
// line): kept for the report and for tests, never in the status's text, as the real library's
// texts are fixed. Cleared with the runtime. Gives `status` back, for `return Diagnose(...)`.
STATUS Diagnose(STATUS status, std::string detail);
std::vector<std::string> Diagnostics();
void ResetDiagnostics();

}  // namespace notessim
