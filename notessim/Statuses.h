// The runtime's statuses and their message texts.
#pragma once

#include <string>
#include <string_view>

#include "notes/NotesStatuses.h"

namespace notessim {

constexpr notes::NotesStatus kStatusNotInitialized = notes::kStatusNotLoaded;
constexpr notes::NotesStatus kStatusInvalidHandle = notes::kStatusInvalidHandle;
constexpr notes::NotesStatus kStatusServerUnreachable = 0x0407;
constexpr notes::NotesStatus kStatusBadEnvironmentFile = 0x0114;
constexpr notes::NotesStatus kStatusWrongPassword = 0x1906;
constexpr notes::NotesStatus kStatusBadIdFile = 0x1910;
constexpr notes::NotesStatus kStatusFormulaSyntax = 0x0501;
constexpr notes::NotesStatus kStatusViewNotFound = 0x0404;
constexpr notes::NotesStatus kStatusItemNotFound = 0x0222;
constexpr notes::NotesStatus kStatusNameTooLong = 0x0A27;
constexpr notes::NotesStatus kStatusNotInList = 0x0238;
constexpr notes::NotesStatus kStatusBadNamesDatabase = 0x0408;
constexpr notes::NotesStatus kStatusBufferTooSmall = 0x0A30;
constexpr notes::NotesStatus kStatusNoteNotFound = 0x0225;
constexpr notes::NotesStatus kStatusUnsupportedHook = 0x0E01;
// A value the runtime's narrower parameter cannot take, or a reserved argument that is set.
constexpr notes::NotesStatus kStatusUnsupportedArgument = 0x0E02;

// Gives `status` a text of the moment (one that names the file or server concerned), used until
// the runtime is reset.
void SetStatusDetail(notes::NotesStatus status, std::string text);

void ResetStatusDetails();

// The text of `status` (already masked); unknown statuses get a text that shows the number.
std::string StatusText(notes::NotesStatus status);

}  // namespace notessim
