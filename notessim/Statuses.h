// The runtime's statuses and their message texts.
#pragma once

#include <string>
#include <string_view>

#include "notessim/CTypes.h"

namespace notessim {

// Statuses whose texts the runtime gives as the real library does (Statuses.cpp).
constexpr STATUS kStatusFileNotFound = 259;
constexpr STATUS kStatusFileExists = 260;
constexpr STATUS kStatusCannotCreateFile = 264;
constexpr STATUS kStatusIoError = 270;
constexpr STATUS kStatusStopped = 413;
constexpr STATUS kStatusIniNotFound = 421;
constexpr STATUS kStatusPathTooLong = 462;
constexpr STATUS kStatusNoMailServer = 0x2011;
// The real library's numbers for the errors the runtime models (its names in the comments).
constexpr STATUS kStatusValueTooLong = 0x040F;         // ERR_VALUE_LENGTH
constexpr STATUS kStatusLibraryNotLoaded = 0x0140;     // ERR_LIBLOAD2
constexpr STATUS kStatusNotInitialized = 0x0217;       // ERR_NOTES_NOT_INITIALIZED
constexpr STATUS kStatusInvalidHandle = 0x02B4;        // ERR_HDL_DEALLOC
constexpr STATUS kStatusServerUnreachable = 0x0803;    // ERR_SERVER_NOT_FOUND
constexpr STATUS kStatusBadEnvironmentFile = 0x0206;   // ERR_STRUCT
constexpr STATUS kStatusWrongPassword = 0x1908;        // ERR_SECURE_BADPASSWORD
constexpr STATUS kStatusBadIdFile = 0x1755;            // ERR_BSAFE_CORRUPTFILE
constexpr STATUS kStatusFormulaSyntax = 0x0501;        // ERR_FORMULA_COMPILATION
constexpr STATUS kStatusViewNotFound = 0x0404;         // ERR_NOT_FOUND
constexpr STATUS kStatusItemNotFound = 0x0222;         // ERR_ITEM_NOT_FOUND
constexpr STATUS kStatusBufferTooSmall = 0x0409;       // ERR_BUFFER_OVERFLOW
constexpr STATUS kStatusNameTooLong = kStatusBufferTooSmall;
constexpr STATUS kStatusNotInList = 0x0605;            // ERR_ODS_NO_SUCH_ENTRY
constexpr STATUS kStatusBadNamesDatabase = 0x030A;     // ERR_NO_NAMES_FILE
constexpr STATUS kStatusNoteNotFound = 0x0227;         // ERR_INVALID_NOTE
constexpr STATUS kStatusNoteUnreadable = 0x0246;       // ERR_NOACCESS
constexpr STATUS kStatusUnsupportedEvent = 0x02D1;     // ERR_EM_ILLEGAL
constexpr STATUS kStatusUnsupportedHook = 0x02D2;      // ERR_EM_ILLEGALFLAGS
constexpr STATUS kStatusOutOfMemory = 0x0107;          // ERR_MEMORY
// A value the runtime's narrower parameter cannot take, or a reserved argument that is set:
// ERR_MISC_INVALID_ARGS.
constexpr STATUS kStatusUnsupportedArgument = 0x0495;

// Gives `status` a text of the moment (one that names the file or server concerned), used until
// the runtime is reset.
void SetStatusDetail(STATUS status, std::string text);

void ResetStatusDetails();

// The text of `status` (already masked); unknown statuses get a text that shows the number.
std::string StatusText(STATUS status);

}  // namespace notessim
