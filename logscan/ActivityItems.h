// The items of one activity record, by name, with each value as the text a row shows.
#pragma once

#include <map>
#include <string>

namespace logscan {

// Names compare byte by byte; both names and value texts are 8-bit text.
using ActivityItemMap = std::map<std::string, std::string>;

// Reads an ITEM_TABLE: the first item of a name wins, items without a name are left out.
// Text becomes UTF-8 ("NULL" when empty), numbers the library's number text, any other value
// "-not text-". Nothing past the table's own total length (its first field) is read: the walk
// ends at the first item whose descriptor or bytes would lie beyond it.
ActivityItemMap ReadActivityItems(const void* itemTable);

}  // namespace logscan
