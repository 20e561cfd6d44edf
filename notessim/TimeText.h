// Time values written as text in the environment's files.
#pragma once

#include <string_view>

#include "notessim/CTypes.h"

namespace notessim {

// "HHHHHHHHLLLLLLLL" (16 hex digits, high word first) or a UTC time
// "YYYY-MM-DDTHH:MM:SS[.ff]Z". False when the text is neither.
bool ParseTimeText(std::string_view text, TIMEDATE& time);

}  // namespace notessim
