#include "logscan/ScanOptions.h"

#include <algorithm>
#include <ios>
#include <limits>
#include <locale>
#include <sstream>
#include <string>

namespace logscan {
namespace {

constexpr std::size_t kStartTimeLength = 16;
constexpr std::size_t kHalfLength = 8;

// True when `half` is one complete hexadecimal number with nothing after it. Characters outside
// ASCII are neither digits nor blanks, so a half holding one is never complete.
bool ReadHexHalf(std::u16string_view half, std::uint32_t& value) {
    std::string narrow;
    for (const char16_t c : half) {
        if (c > 0x7F) return false;
        narrow += static_cast<char>(c);
    }
    std::istringstream in(narrow);
    in.imbue(std::locale::classic());
    in >> std::hex >> value;
    return !in.fail() && in.eof();
}

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

std::optional<notes::TimeDate> ParseStartTime(std::u16string_view text) {
    notes::TimeDate time{};
    if (text.empty()) {
        notes::SetTimeLimit(0, &time);
        return time;
    }
    std::uint32_t high = 0;
    std::uint32_t low = 0;
    if (text.size() != kStartTimeLength || !ReadHexHalf(text.substr(0, kHalfLength), high) ||
        !ReadHexHalf(text.substr(kHalfLength), low)) {
        return std::nullopt;
    }
    notes::MakeTimeValue(high, low, &time);
    return time;
}

std::int32_t ParseRowLimit(std::u16string_view text) {
    constexpr std::int64_t kLargest = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kSmallest = std::numeric_limits<std::int32_t>::min();
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) negative = text[at++] == u'-';
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        // Past the largest magnitude the value only gets clamped, so stop growing it there.
        magnitude = std::min(magnitude * 10 + (text[at] - u'0'), kLargest + 1);
    }
    return static_cast<std::int32_t>(std::clamp(negative ? -magnitude : magnitude, kSmallest, kLargest));
}

}  // namespace logscan
