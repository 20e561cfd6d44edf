// What the directory view reader hands every document entry to.
#pragma once

#include <functional>

namespace tinyxml2 {
class XMLPrinter;
}

namespace directory {

// Takes the printer of the walk and the entry's summary (an ITEM_TABLE). It cannot stop the walk
// or report a failure.
using EntryWriter = std::function<void(tinyxml2::XMLPrinter& printer, const void* itemTable)>;

}  // namespace directory
