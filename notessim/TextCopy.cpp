#include "notessim/TextCopy.h"

#include <cstring>

#include "notessim/Lmbcs.h"
#include "platform/Text.h"

namespace notessim {

namespace {

// The length of the leading bytes 0x20 to 0x7F, which are the same characters in UTF-8 and in
// the library's character set.
std::size_t PlainPrefix(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && static_cast<unsigned char>(text[length] - 0x20) < 0x60) ++length;
    return length;
}

}  // namespace

std::string Utf8ToLibraryText(std::string_view utf8) {
    std::string out;
    Utf8ToLibraryText(utf8, out);
    return out;
}

void Utf8ToLibraryText(std::string_view utf8, std::string& out) {
    const std::size_t plain = PlainPrefix(utf8);
    out.assign(utf8.data(), plain);
    if (plain < utf8.size()) out += lmbcs::Encode(platform::Utf8ToUtf16(utf8.substr(plain)));
}

std::string LibraryTextToUtf8(std::string_view lmbcs) {
    return platform::Utf16ToUtf8(lmbcs::Decode(lmbcs));
}

std::size_t LibraryTextPrefix(std::string_view lmbcs, std::size_t limit) {
    if (lmbcs.size() <= limit) return lmbcs.size();
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < lmbcs.size();) {
        lmbcs::DecodeNext(lmbcs, pos);
        if (pos > limit) break;
        end = pos;
    }
    return end;
}

std::size_t CopyLibraryText(std::string_view lmbcs, char* buffer, std::size_t maxBytes) {
    const std::size_t length = LibraryTextPrefix(lmbcs, maxBytes);
    std::memcpy(buffer, lmbcs.data(), length);
    buffer[length] = '\0';
    return length;
}

}  // namespace notessim
