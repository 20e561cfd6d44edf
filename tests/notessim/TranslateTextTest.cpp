#include <gtest/gtest.h>

#include <string>

#include "notes/NotesPlatform.h"
#include "platform/Text.h"

namespace {

std::string ToLibrary(const std::u16string& text, std::uint32_t size) {
    std::string out(size + 8, '\x7F');
    const std::uint32_t length = notes::TranslateText(
        notes::kTranslateUnicodeToLmbcs, text.data(), static_cast<std::uint32_t>(text.size() * 2),
        out.data(), size);
    EXPECT_EQ(out[length == size + 8 ? 0 : size], '\x7F') << "wrote past the output size";
    return out.substr(0, length);
}

std::u16string ToUnicode(const std::string& text, std::uint32_t size) {
    std::u16string out(size / 2 + 4, u'\0');
    const std::uint32_t length = notes::TranslateText(
        notes::kTranslateLmbcsToUnicode, text.data(), static_cast<std::uint32_t>(text.size()),
        out.data(), size);
    EXPECT_EQ(length % 2, 0u);
    return out.substr(0, length / 2);
}

std::string ToUtf8(const std::string& text, std::uint32_t size) {
    std::string out(size + 4, '\0');
    const std::uint32_t length = notes::TranslateText(
        notes::kTranslateLmbcsToUtf8, text.data(), static_cast<std::uint32_t>(text.size()),
        out.data(), size);
    return out.substr(0, length);
}

TEST(TranslateText, RoundTripsThroughTheLibraryCharacterSet) {
    const std::u16string text = u"Jane Do\u00e9 \u0416 \u4e2d \U0001F600 & \"q\"";
    const std::string library = ToLibrary(text, 255);
    EXPECT_EQ(ToUnicode(library, 510), text);
    EXPECT_EQ(ToUtf8(library, 255),
              "Jane Do\xC3\xA9 \xD0\x96 \xE4\xB8\xAD \xF0\x9F\x98\x80 & \"q\"");
}

TEST(TranslateText, AsciiIsItsOwnLibraryForm) {
    EXPECT_EQ(ToLibrary(u"catalog.nsf", 255), "catalog.nsf");
    EXPECT_EQ(ToUtf8("catalog.nsf", 255), "catalog.nsf");
}

TEST(TranslateText, OutputThatDoesNotFitIsCutAtACharacterBoundary) {
    const std::u16string text = u"ab\U0001F600cd";
    const std::string library = ToLibrary(text, 255);
    for (std::uint32_t size = 0; size <= library.size(); ++size) {
        const std::string cut = ToLibrary(text, size);
        EXPECT_LE(cut.size(), size);
        EXPECT_EQ(library.compare(0, cut.size(), cut), 0);
        const std::u16string back = ToUnicode(cut, 510);
        EXPECT_EQ(text.compare(0, back.size(), back), 0) << "cut inside a character at " << size;
    }
    EXPECT_EQ(ToUnicode(library, 6), u"ab");  // the surrogate pair is not split
    EXPECT_EQ(ToUtf8(library, 4), "ab");       // nor the four UTF-8 bytes
}

// Text of single-byte characters goes to UTF-8 without the way through UTF-16: every byte from
// 0x20 up, alone and among others, must read as that way reads it, also where the output is cut.
TEST(TranslateText, SingleByteCharactersReadAsThroughUtf16) {
    std::string all;
    for (int byte = 0x20; byte <= 0xFF; ++byte) all += static_cast<char>(byte);
    const std::string mixed = "Caf" + all.substr(0xE9 - 0x20, 1) + " \x14\x00\xE9 x";  // a group byte
    for (const std::string& text : {all, mixed, all.substr(0x80 - 0x20)}) {
        const std::string throughUtf16 = platform::Utf16ToUtf8(ToUnicode(text, 4096));
        EXPECT_EQ(ToUtf8(text, 4096), throughUtf16);
        for (std::uint32_t size = 0; size < 40; ++size) {
            EXPECT_EQ(ToUtf8(text, size), throughUtf16.substr(0, platform::Utf8PrefixLength(throughUtf16, size)));
        }
    }
}

TEST(TranslateText, UnpairedSurrogatesBecomeTheReplacementCharacter) {
    const std::u16string text = {u'a', char16_t(0xD800), u'b'};
    EXPECT_EQ(ToUnicode(ToLibrary(text, 255), 510), u"a\uFFFDb");
}

}  // namespace
