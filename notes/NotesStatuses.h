// Statuses with a fixed meaning for the program. Their message texts are the library's.
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
constexpr NotesStatus kStatusPasswordTooLong = 0x0A1F;  // a password longer than the library takes
constexpr NotesStatus kStatusInvalidHandle = 0x0106;    // a handle the library cannot have given
constexpr NotesStatus kStatusValueOutOfRange = 0x0A3F;  // a value wider than the library's parameter
constexpr NotesStatus kStatusNotLoaded = 0x0102;        // no Notes library loaded or started

}  // namespace notes
