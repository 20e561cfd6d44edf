// One XML element per directory entry: `user` for people, `server` for servers.
#pragma once

#include <cstddef>

namespace tinyxml2 {
class XMLPrinter;
}

namespace directory {

// The longest name written, in UTF-8 bytes; longer ones are cut.
constexpr std::size_t kNameValueBytes = 1023;

// Writes <elementName name="..."/> with the text of summary item `itemName` (the first entry of
// a text list). An entry without the item, or with an empty list in it, writes nothing.
void WriteNameElement(tinyxml2::XMLPrinter& printer, const void* itemTable, const char* itemName,
                      const char* elementName);

// A person of "($People)": its "FullName" as a `user` element.
void WriteUser(tinyxml2::XMLPrinter& printer, const void* itemTable);
// A server of "($Servers)": its "ServerName" as a `server` element.
void WriteServer(tinyxml2::XMLPrinter& printer, const void* itemTable);

}  // namespace directory
