// The LMBCS codec and TranslateText on arbitrary bytes: decoding never reads past the input,
// what is decoded encodes and decodes to itself, and cut output never splits a character.
#include <cstddef>
#include <cstdint>
#include <string>

#include "notes/NotesPlatform.h"
#include "notessim/Lmbcs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string text = notessim::lmbcs::Decode(bytes);
    if (notessim::lmbcs::Decode(notessim::lmbcs::Encode(text)) != text) __builtin_trap();

    const std::uint32_t limit = size == 0 ? 0 : data[0];
    std::u16string wide(limit / 2 + 1, u'\0');
    const std::uint32_t units = notes::TranslateText(notes::kTranslateLmbcsToUnicode, bytes.data(),
                                                     static_cast<std::uint32_t>(size), wide.data(), limit);
    if (units > limit || text.compare(0, units / 2, wide, 0, units / 2) != 0) __builtin_trap();
    std::string utf8(limit + 1, '\0');
    if (notes::TranslateText(notes::kTranslateLmbcsToUtf8, bytes.data(), static_cast<std::uint32_t>(size),
                             utf8.data(), limit) > limit) {
        __builtin_trap();
    }
    std::string back(limit + 1, '\0');
    const std::uint32_t length = notes::TranslateText(notes::kTranslateUnicodeToLmbcs, text.data(),
                                                      static_cast<std::uint32_t>(text.size() * 2), back.data(), limit);
    if (length > limit) __builtin_trap();
    const std::u16string again = notessim::lmbcs::Decode(back.substr(0, length));
    if (text.compare(0, again.size(), again) != 0) __builtin_trap();
    return 0;
}
