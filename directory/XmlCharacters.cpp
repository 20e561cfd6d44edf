#include "directory/XmlCharacters.h"

#include <optional>
#include <string_view>

#include "platform/Text.h"

namespace directory {
namespace {

// Surrogates are no valid UTF-8, so they never get here.
bool XmlAllows(char32_t c) {
    if (c < 0x20) return c == 0x09 || c == 0x0A || c == 0x0D;
    return c != 0xFFFE && c != 0xFFFF;
}

}  // namespace

std::size_t RemoveCharactersXmlForbids(char* text, std::size_t length) {
    const std::string_view original(text, length);
    std::size_t kept = 0;
    for (std::size_t at = 0; at < length;) {
        const std::size_t start = at;
        const std::optional<char32_t> c = platform::DecodeUtf8(original, at);
        if (!c) {
            at = start + 1;  // a byte that is not UTF-8 goes alone
            continue;
        }
        if (XmlAllows(*c)) {
            for (std::size_t k = start; k < at; ++k) text[kept++] = text[k];
        }
    }
    return kept;
}

}  // namespace directory
