#include "driver/WideFormat.h"

#include <cstdio>
#include <vector>

namespace driver {
namespace {

void AppendAscii(std::u16string& out, const char* text) {
    for (; *text != '\0'; ++text) out += static_cast<char16_t>(*text);
}

}  // namespace

std::u16string FormatWide(std::u16string_view format, std::initializer_list<FormatArgument> args) {
    std::u16string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        const char16_t conversion = format[++i];
        if (conversion == u'%') {
            out += u'%';
            continue;
        }
        if (next == args.end()) continue;  // a missing argument formats as nothing
        const FormatArgument& argument = *next++;
        char digits[24];
        const std::int64_t number =
            std::holds_alternative<std::int64_t>(argument) ? std::get<std::int64_t>(argument) : 0;
        switch (conversion) {
            case u's':
                if (const auto* text = std::get_if<std::u16string_view>(&argument)) out += *text;
                break;
            case u'd':
                std::snprintf(digits, sizeof digits, "%d", static_cast<std::int32_t>(number));
                AppendAscii(out, digits);
                break;
            case u'u':
                std::snprintf(digits, sizeof digits, "%u", static_cast<std::uint32_t>(number));
                AppendAscii(out, digits);
                break;
            case u'X':
                std::snprintf(digits, sizeof digits, "%X", static_cast<std::uint32_t>(number));
                AppendAscii(out, digits);
                break;
            default:
                out += u'%';
                out += conversion;
        }
    }
    return out;
}

}  // namespace driver
