// Text conversion through the look-alike library's OSTranslate, which takes 16-bit lengths and
// reads an input length of 0xFFFF as "up to the NUL": longer texts go in pieces, none lost.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "notes/NotesPlatform.h"
#include "tests/notes/AlteredLibrary.h"

namespace {

class TranslateInPieces : public notestest::AlteredLibrary {
protected:
    static std::string ToUtf8(const std::string& text, std::uint32_t size) {
        std::string out(size + 1, '#');
        const std::uint32_t length = notes::TranslateText(
            notes::kTranslateLmbcsToUtf8, text.data(), static_cast<std::uint32_t>(text.size()),
            out.data(), size);
        EXPECT_EQ(out[size], '#') << "wrote past the output size";
        return out.substr(0, length);
    }
};

// Texts far too long to print: where they differ, and how long each is.
testing::AssertionResult Same(const std::string& actual, const std::string& expected) {
    if (actual == expected) return testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return testing::AssertionFailure() << actual.size() << " bytes, " << expected.size()
                                       << " expected; first difference at " << at;
}

// A NUL inside the text: read "up to the NUL", an input of 0xFFFF would end there.
TEST_F(TranslateInPieces, LmbcsTextsAroundSixteenBitsArriveWhole) {
    for (const std::size_t size : {0xFFFE, 0xFFFF, 0x10000}) {
        const std::string text = "ab" + std::string(1, '\0') + std::string(size - 4, 'c') + "z";
        ASSERT_EQ(text.size(), size);
        EXPECT_TRUE(Same(ToUtf8(text, 0x20000), text)) << size;
        // Output that does not fit ends at the room left.
        EXPECT_TRUE(Same(ToUtf8(text, 0xFFFD), text.substr(0, 0xFFFD))) << size;
    }
    // A character of two UTF-8 bytes across the end of the room is left out whole.
    const std::string accented = std::string(0x10000, 'c') + "\x82";  // cp850 e acute
    EXPECT_TRUE(Same(ToUtf8(accented, 0x10001), std::string(0x10000, 'c')));
    EXPECT_TRUE(Same(ToUtf8(accented, 0x10002), std::string(0x10000, 'c') + "\xC3\xA9"));
}

// A byte of CP850 box drawing is three bytes of UTF-8, the most output one byte of input gives:
// pieces of 21844 bytes, whose output fits one call, and none lost at any length around them.
TEST_F(TranslateInPieces, TextsTrebledInUtf8ArriveWholeAroundThePieceSize) {
    for (const std::size_t size : {21843, 21844, 21845, 21846, 43689, 0x10000}) {
        const std::string boxes(size, '\xC4');  // U+2500, E2 94 80
        std::string expected;
        for (std::size_t i = 0; i < size; ++i) expected += "\xE2\x94\x80";
        EXPECT_TRUE(Same(ToUtf8(boxes, 0x30000), expected)) << size;
    }
}

// A count past the room given cannot be what the library wrote: nothing of that call is taken,
// in a call of its own or for the piece that fills the room (the second of 21844 bytes here).
TEST_F(TranslateInPieces, ACountPastTheRoomGivenTakesNothing) {
    ::setenv("DXL_TEST_LIBRARY_CHANGES", "TranslationPastRoom", 1);
    EXPECT_EQ(ToUtf8("abc", 16), "");
    EXPECT_TRUE(Same(ToUtf8(std::string(0x10000, 'c'), 30000), std::string(21844, 'c')));
    ::unsetenv("DXL_TEST_LIBRARY_CHANGES");
    EXPECT_EQ(ToUtf8("abc", 16), "abc");
}

TEST_F(TranslateInPieces, Utf16TextsOfSixteenBitsAndMoreArriveWhole) {
    // 0x5554 bytes make one piece; a surrogate pair at its end goes whole into the next.
    std::u16string text(0x2AA9, u'a');
    text += u"\U0001F600" + std::u16string(0x8000 - 0x2AA9 - 3, u'b') + u"z";
    ASSERT_EQ(text.size() * 2, 0x10000u);
    std::string out(0x20000, '#');
    const std::uint32_t length = notes::TranslateText(notes::kTranslateUnicodeToLmbcs, text.data(),
                                                      0x10000, out.data(), 0x20000);
    out.resize(length);
    EXPECT_TRUE(Same(out.substr(0, 0x2AA9), std::string(0x2AA9, 'a')));
    EXPECT_EQ(out.substr(0x2AA9, 6), "\x14\xD8\x3D\x14\xF6\xDE");  // D83D DE00
    EXPECT_TRUE(Same(out.substr(0x2AA9 + 6), std::string(0x8000 - 0x2AA9 - 3, 'b') + "z"));
}

}  // namespace
