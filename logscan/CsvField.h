// One comma-separated field of logscan.txt from one item value.
#pragma once

#include <string>
#include <string_view>

namespace logscan {

// A value holding a comma, a double quote, a line feed or a carriage return is enclosed in double
// quotes, with every double quote doubled; any other value comes out unchanged.
std::string QuoteCsvField(std::string_view value);

// Room for writing the field of a value of `valueSize` bytes: its largest size, and 16 bytes
// the writing may use past the field's end.
constexpr std::size_t CsvFieldRoom(std::size_t valueSize) { return 2 * valueSize + 2 + 16; }

// Writes the field QuoteCsvField gives at `out`, which has CsvFieldRoom(value.size()) bytes;
// returns the end of the field.
char* WriteCsvField(std::string_view value, char* out);

}  // namespace logscan
