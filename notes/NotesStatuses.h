// Statuses with a fixed meaning for the program. Their message texts are the library's; the
// names in the comments are the library's own for the same numbers.
#pragma once

#include "notes/NotesPlatform.h"

namespace notes {

constexpr NotesStatus kStatusFileNotFound = 259;        // "File does not exist"
constexpr NotesStatus kStatusFileExists = 260;          // the DXL temporary file stays
constexpr NotesStatus kStatusCannotCreateFile = 264;    // the DXL file cannot be moved into place
constexpr NotesStatus kStatusIoError = 270;             // output could not be written
constexpr NotesStatus kStatusStopped = 413;             // a callback stopped the operation
constexpr NotesStatus kStatusIniNotFound = 421;         // no notes.ini
constexpr NotesStatus kStatusPathTooLong = 462;         // a path longer than the library takes
constexpr NotesStatus kStatusNoMailServer = 0x2011;     // no "MailServer" setting
// The program's own conditions, each given the library status whose text says what happened:
constexpr NotesStatus kStatusPasswordTooLong = 0x040F;  // ERR_VALUE_LENGTH "Value too long"
// A handle the library cannot have given: ERR_HDL_DEALLOC "Object handle is invalid".
constexpr NotesStatus kStatusInvalidHandle = 0x02B4;
// A value wider than the library's parameter: ERR_MISC_INVALID_ARGS "Invalid arguments".
constexpr NotesStatus kStatusValueOutOfRange = 0x0495;
// No Notes library loaded: ERR_LIBLOAD2 "Program library not loaded. ..."
constexpr NotesStatus kStatusNotLoaded = 0x0140;
constexpr NotesStatus kStatusOutOfMemory = 0x0107;  // ERR_MEMORY "Insufficient memory."
// A name longer than a name buffer holds: ERR_NAME_LENGTH "Name too long".
constexpr NotesStatus kStatusNameTooLong = 0x040E;
// View entries the library reported that do not lie in the buffer it handed over, or a read
// that signals more to do without moving on: ERR_BAD_COLLECTION_DATA "Invalid collection data
// was detected."
constexpr NotesStatus kStatusBadCollectionData = 0x031C;
// A name lookup buffer whose records the library cannot find in it, or finds outside it:
// ERR_LOOKUP_ERROR "Error looking up name in Domino Directory".
constexpr NotesStatus kStatusLookupFailed = 0x0307;

// The meaning of a status lies in its low 14 bits; the top two are flags the library may set.
constexpr bool IsStatus(NotesStatus status, NotesStatus code) {
    return (status & kStatusMask) == (code & kStatusMask);
}

}  // namespace notes
