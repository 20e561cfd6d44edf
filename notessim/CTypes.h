// The Notes C API's types and values, as the runtime uses them throughout.
#pragma once

#include "notes/NotesCApi.h"

namespace notessim {

using notesapi::BOOL;
using notesapi::BYTE;
using notesapi::DHANDLE;
using notesapi::DWORD;
using notesapi::NOTEID;
using notesapi::STATUS;
using notesapi::TIMEDATE;
using notesapi::WORD;

// The meaning of a status lies in its low 14 bits; the top two are flags.
constexpr bool IsStatus(STATUS status, STATUS code) {
    return ((status ^ code) & notesapi::ERR_MASK) == 0;
}

}  // namespace notessim
