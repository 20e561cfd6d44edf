// One comma-separated field of logscan.txt from one item value.
#pragma once

#include <string>
#include <string_view>

namespace logscan {

// A value holding a comma, a double quote or a line feed is enclosed in double quotes, with every
// double quote doubled; any other value comes out unchanged.
std::string QuoteCsvField(std::string_view value);

}  // namespace logscan
