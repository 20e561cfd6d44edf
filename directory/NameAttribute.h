// The name attribute of an element, escaped so that an XML reader reads back every character.
#pragma once

#include <string_view>

namespace tinyxml2 {
class XMLPrinter;
}

namespace directory {

// Writes ` name="value"` into the element the printer has just opened, as PushAttribute does,
// with `"`, `&`, `'`, `<` and `>` as the printer's entities and TAB, LF and CR as character
// references: written as themselves, a reader would take them for spaces.
void PushNameAttribute(tinyxml2::XMLPrinter& printer, std::string_view value);

}  // namespace directory
