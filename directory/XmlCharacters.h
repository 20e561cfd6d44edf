// Keeping a name attribute well-formed XML.
#pragma once

#include <cstddef>

namespace directory {

// Removes from the UTF-8 text `text` of `length` bytes, in place, what XML 1.0 does not allow in
// a document: the control characters other than tab, line feed and carriage return, U+FFFE,
// U+FFFF, surrogates, and bytes that are not UTF-8. Returns the new length.
std::size_t RemoveCharactersXmlForbids(char* text, std::size_t length);

}  // namespace directory
