// Building ITEM_TABLE records (activity records, view entry summaries) from items.
#pragma once

#include <string>
#include <vector>

#include "notessim/Database.h"

namespace notessim {

// The record: header {total length, count}, a descriptor per item {name length, value length
// counting the type word}, then each name followed by its type word and value bytes.
// Items past what a 16-bit total length can hold are left out.
std::string BuildItemTable(const std::vector<const SimItem*>& items);
// The record of all `items` into `table`, whose storage is reused.
void BuildItemTable(const std::vector<SimItem>& items, std::string& table);

}  // namespace notessim
