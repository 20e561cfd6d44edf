// Names and paths in the library's character set, in the fixed buffers the library calls take.
#pragma once

#include <array>
#include <string_view>

#include "notes/NotesHandleOwner.h"

namespace driver {

// 256 bytes: at most 255 bytes of text and the terminator.
using LibraryNameBuffer = std::array<char, 256>;

// `text` converted to the library's character set, terminated. False when its library form is
// longer than 255 bytes: the buffer then holds what fits, cut at a character boundary, which names
// something else.
bool ToLibraryName(std::u16string_view text, LibraryNameBuffer& buffer);

// Opens the database `file` on `server` (empty: the local machine), both as given: converted to
// the library's character set, the network path built from them, the database opened. A name or
// a path too long for the library is kStatusPathTooLong (462), before the library is asked.
notes::NotesStatus OpenServerDatabase(std::u16string_view server, std::u16string_view file,
                                      notes::DatabaseOwner& database);

}  // namespace driver
