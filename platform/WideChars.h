// The Windows API's wchar_t texts and the program's char16_t texts hold the same UTF-16 units.
#pragma once

#ifdef _WIN32
#include <string>
#include <string_view>

namespace platform {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string FromWide(std::wstring_view text) { return {text.begin(), text.end()}; }

}  // namespace platform
#endif
