#include <gtest/gtest.h>

#include "logscan/ScanOptions.h"

namespace logscan {
namespace {

std::optional<std::pair<std::uint32_t, std::uint32_t>> Start(std::u16string_view text) {
    const auto time = ParseStartTime(text);
    if (!time) return std::nullopt;
    return std::make_pair(notes::TimeHighWord(&*time), notes::TimeLowWord(&*time));
}

TEST(ScanOptions, AnEmptyStartTimeMeansTheEarliestTime) {
    notes::TimeDate earliest{};
    notes::SetTimeLimit(0, &earliest);
    EXPECT_EQ(Start(u""), std::make_pair(notes::TimeHighWord(&earliest), notes::TimeLowWord(&earliest)));
}

TEST(ScanOptions, AStartTimeIsReadHighThenLowWordInEitherCase) {
    EXPECT_EQ(Start(u"00258EC0002BF200"), std::make_pair(0x00258EC0u, 0x002BF200u));
    EXPECT_EQ(Start(u"00258ec0002bf200"), std::make_pair(0x00258EC0u, 0x002BF200u));
    EXPECT_EQ(Start(u"FFFFFFFFffffffff"), std::make_pair(0xFFFFFFFFu, 0xFFFFFFFFu));
}

TEST(ScanOptions, EachStartTimeHalfIsWhatStreamExtractionAcceptsAsOneWholeNumber) {
    EXPECT_EQ(Start(u" 0258EC0\t02BF200"), std::make_pair(0x0258EC0u, 0x02BF200u));
    EXPECT_EQ(Start(u"0x258EC0+02BF200"), std::make_pair(0x258EC0u, 0x02BF200u));
    EXPECT_EQ(Start(u"-00000010X000001"), std::make_pair(0xFFFFFFFFu, 0x1u));
}

TEST(ScanOptions, StartTimesOfOtherLengthsOrWithHalvesNotReadInFullAreRefused) {
    for (const std::u16string_view text :
         {u"00258EC0002BF20", u"00258EC0002BF2000", u"00258EC0002B F200", u"0025 EC0002BF200",
          u"00258EC0002BF20 ", u"00258EC 002BF200", u"00258EG0002BF200", u"00258EC0002BF20G",
          u"        002BF200", u"0x      002BF200", u"00258EC0+0x     ", u"00258EC0002BF2\u00E9",
          u"\u00A000258EC002BF200"}) {
        EXPECT_FALSE(ParseStartTime(text)) << std::string(text.begin(), text.end());
    }
}

TEST(ScanOptions, TheRowLimitIsReadLikeWcstol) {
    EXPECT_EQ(ParseRowLimit(u"12"), 12);
    EXPECT_EQ(ParseRowLimit(u"12abc"), 12);
    EXPECT_EQ(ParseRowLimit(u" \t\n\v\f\r+7"), 7);
    EXPECT_EQ(ParseRowLimit(u"-5"), -5);
    EXPECT_EQ(ParseRowLimit(u"abc"), 0);
    EXPECT_EQ(ParseRowLimit(u"+"), 0);
    EXPECT_EQ(ParseRowLimit(u"- 5"), 0);
    EXPECT_EQ(ParseRowLimit(u"0x10"), 0);
    EXPECT_EQ(ParseRowLimit(u"007"), 7);
}

TEST(ScanOptions, TheRowLimitClampsToTheRangeOfA32BitLongInsteadOfWrapping) {
    EXPECT_EQ(ParseRowLimit(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseRowLimit(u"2147483648"), 2147483647);
    EXPECT_EQ(ParseRowLimit(u"4294967297"), 2147483647);
    EXPECT_EQ(ParseRowLimit(u"99999999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseRowLimit(u"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseRowLimit(u"-4294967297"), -2147483647 - 1);
}

}  // namespace
}  // namespace logscan
