// The -start and -rowLimit texts of the activity scan.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "notes/NotesPlatform.h"

namespace logscan {

// The lower bound of the scan: the earliest time for the empty text; for 16 characters the time
// whose high word the first 8 and whose low word the last 8 give, each half read as one whole
// hexadecimal number by stream extraction (leading blanks, a sign and a 0x prefix allowed).
// Nothing for any other text.
std::optional<notes::TimeDate> ParseStartTime(std::u16string_view text);

// The text read as a decimal long the way wcstol reads it (leading blanks, a sign, digits up to
// the first other character; 0 without digits), kept within the range of a 32-bit long: a value
// beyond it gives the nearest limit, never a wrapped one.
std::int32_t ParseRowLimit(std::u16string_view text);

}  // namespace logscan
