// Activity lines in their common form, read straight from the text: a million-line stream must
// not cost a JSON tree per line.
#pragma once

#include <string_view>

#include "notessim/ActivityRecord.h"

namespace notessim {

// Reads `line` when it is a record in the common form: one object holding "type" and "time"
// texts and, if any, "items" whose values are texts, numbers and text lists, with no name twice
// and no \u escape in any text. For any other line false, with `record` left in no particular
// state: the full JSON reading then decides whether the line is a record, and what is wrong if
// not. A line read here gives the record that reading would give.
bool ReadCommonActivityLine(std::string_view line, ActivityRecord& record);

}  // namespace notessim
