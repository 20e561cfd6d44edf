#include "platform/Text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Text, ConversionsReplaceInvalidSequences) {
    EXPECT_EQ(Utf16ToUtf8(u"\u00e9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00)}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");  // overlong form
    EXPECT_EQ(Utf8PrefixLength("a\xC3\xA9", 2), 1u);
    EXPECT_EQ(Utf8PrefixLength("a\xC3\xA9", 3), 3u);
}

// A pair stays; a high half without its low one, a low half alone, at the start, in the middle
// and at the end, each becomes U+FFFD.
TEST(Text, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(WithoutUnpairedSurrogates(u"a\xD83D\xDE00z"), u"a\xD83D\xDE00z");
    EXPECT_EQ(WithoutUnpairedSurrogates(std::u16string(u"\xDE00\xD83D" "a\xD83D")),
              u"\xFFFD\xFFFD" "a\xFFFD");
    EXPECT_EQ(WithoutUnpairedSurrogates(std::u16string(u"\xD83D\xD83D\xDE00")),
              u"\xFFFD\xD83D\xDE00");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(u"\xDC80" "a")), "\xEF\xBF\xBD" "a");
}

}  // namespace
}  // namespace platform
