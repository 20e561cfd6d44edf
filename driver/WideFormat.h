// printf-style formatting of UTF-16 text, with the conversions the run log uses:
// %s a UTF-16 text, %d and %u and %X a 32-bit integer, %% a percent sign.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace driver {

using FormatArgument = std::variant<std::u16string_view, std::int64_t>;

std::u16string FormatWide(std::u16string_view format, std::initializer_list<FormatArgument> args);

}  // namespace driver
