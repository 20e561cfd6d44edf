// The DXL text the runtime's exporter writes: a "database" element holding one "document"
// element per note and one "item" element per item, lines ended by LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "notessim/Database.h"

namespace notessim {

// The XML declaration and the database element's start tag.
std::string DxlDatabaseStart(const SimDatabase& database, std::string_view filePath);
std::string DxlDocument(NOTEID id, const std::vector<SimItem>& items);
std::string DxlDatabaseEnd();

// UTF-8 text made safe for XML content and attribute values: markup characters as entities,
// CR, LF and tab as character references, characters XML cannot hold as U+FFFD.
std::string EscapeXml(std::string_view utf8);

}  // namespace notessim
