// The runtime's statuses and their message texts.
#pragma once

#include <string>
#include <string_view>

#include "notes/NotesStatuses.h"

namespace notessim {

// The real library's numbers for the errors the runtime models (its names in the comments).
constexpr notes::NotesStatus kStatusNotInitialized = 0x0217;      // ERR_NOTES_NOT_INITIALIZED
constexpr notes::NotesStatus kStatusInvalidHandle = notes::kStatusInvalidHandle;  // ERR_HDL_DEALLOC
constexpr notes::NotesStatus kStatusServerUnreachable = 0x0803;   // ERR_SERVER_NOT_FOUND
constexpr notes::NotesStatus kStatusBadEnvironmentFile = 0x0206;  // ERR_STRUCT
constexpr notes::NotesStatus kStatusWrongPassword = 0x1908;       // ERR_SECURE_BADPASSWORD
constexpr notes::NotesStatus kStatusBadIdFile = 0x1755;           // ERR_BSAFE_CORRUPTFILE
constexpr notes::NotesStatus kStatusFormulaSyntax = 0x0501;       // ERR_FORMULA_COMPILATION
constexpr notes::NotesStatus kStatusViewNotFound = 0x0404;        // ERR_NOT_FOUND
constexpr notes::NotesStatus kStatusItemNotFound = 0x0222;        // ERR_ITEM_NOT_FOUND
constexpr notes::NotesStatus kStatusBufferTooSmall = 0x0409;      // ERR_BUFFER_OVERFLOW
constexpr notes::NotesStatus kStatusNameTooLong = kStatusBufferTooSmall;
constexpr notes::NotesStatus kStatusNotInList = 0x0605;           // ERR_ODS_NO_SUCH_ENTRY
constexpr notes::NotesStatus kStatusBadNamesDatabase = 0x030A;    // ERR_NO_NAMES_FILE
constexpr notes::NotesStatus kStatusNoteNotFound = 0x0227;        // ERR_INVALID_NOTE
constexpr notes::NotesStatus kStatusNoteUnreadable = 0x0246;      // ERR_NOACCESS
constexpr notes::NotesStatus kStatusUnsupportedEvent = 0x02D1;    // ERR_EM_ILLEGAL
constexpr notes::NotesStatus kStatusUnsupportedHook = 0x02D2;     // ERR_EM_ILLEGALFLAGS
constexpr notes::NotesStatus kStatusOutOfMemory = notes::kStatusOutOfMemory;  // ERR_MEMORY
// A value the runtime's narrower parameter cannot take, or a reserved argument that is set:
// ERR_MISC_INVALID_ARGS.
constexpr notes::NotesStatus kStatusUnsupportedArgument = notes::kStatusValueOutOfRange;

// Gives `status` a text of the moment (one that names the file or server concerned), used until
// the runtime is reset.
void SetStatusDetail(notes::NotesStatus status, std::string text);

void ResetStatusDetails();

// The text of `status` (already masked); unknown statuses get a text that shows the number.
std::string StatusText(notes::NotesStatus status);

}  // namespace notessim
