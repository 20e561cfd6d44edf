// Names and paths in the library's character set, in the fixed buffers the library calls take.
#pragma once

#include <array>
#include <string_view>

namespace driver {

// 256 bytes: at most 255 bytes of text and the terminator.
using LibraryNameBuffer = std::array<char, 256>;

// `text` converted to the library's character set, cut to 255 bytes, terminated.
void ToLibraryName(std::u16string_view text, LibraryNameBuffer& buffer);

}  // namespace driver
