#include "notessim/TextCopy.h"

#include <cstring>

#include "notessim/Lmbcs.h"
#include "platform/Text.h"

namespace notessim {

std::string Utf8ToLibraryText(std::string_view utf8) {
    return lmbcs::Encode(platform::Utf8ToUtf16(utf8));
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
