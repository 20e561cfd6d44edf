#include "driver/RunLog.h"

#include <gtest/gtest.h>

#include "driver/RunSettings.h"
#include "notessim/SimControl.h"
#include "platform/Text.h"
#include "tests/support/TestSupport.h"

namespace driver {
namespace {

using testsupport::ReadFile;

class RunLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        Settings() = RunSettings{};
        Settings().outputDir = platform::Utf8ToUtf16(dir.path().string());
    }
    void TearDown() override { Settings() = RunSettings{}; }
    std::string Log() const { return ReadFile(dir / "log.txt"); }

    testsupport::ScratchDir dir;
};

TEST_F(RunLogTest, DebugLinesNeedTheDebugThreshold) {
    LogDebug(u"quiet %d", {std::int64_t{1}});
    EXPECT_FALSE(std::filesystem::exists(dir / "log.txt"));
    Settings().logThreshold = 0;
    LogDebug(u"loud %d", {std::int64_t{2}});
    LogMessage(kLogWarning, u"warned");
    LogError(u"failed %s", {std::u16string_view(u"here")});
    EXPECT_EQ(Log(), "#DEBUG# - loud 2\r\n#WARNING# - warned\r\n#ERROR# - failed here\r\n");
}

TEST_F(RunLogTest, LevelsAboveErrorAreWrittenAsErrorAndLinesAppendInOrder) {
    LogMessage(5, u"five");
    LogMessage(kLogError, u"second");
    EXPECT_EQ(Log(), "#ERROR# - five\r\n#ERROR# - second\r\n");
}

TEST_F(RunLogTest, TextIsUtf8WithoutBom) {
    LogMessage(kLogError, u"second \u00e9\u20ac\U0001F600");
    EXPECT_EQ(Log(), "#ERROR# - second \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n");
}

// Text from the command line or from Notes must not forge a line of its own.
TEST_F(RunLogTest, ControlCharactersInsideAnEntryBecomeSpaces) {
    LogError(u"Invalid start date: %s", {std::u16string_view(u"x\n#WARNING# - forged\r\t\x01\x1f")});
    LogMessage(kLogError, std::u16string(u"nul\0end", 7));
    EXPECT_EQ(Log(), "#ERROR# - Invalid start date: x #WARNING# - forged    \r\n"
                     "#ERROR# - nul end\r\n");
}

TEST_F(RunLogTest, LongLinesKeepTheirLineEnd) {
    LogMessage(kLogError, std::u16string(2000, u'x'));
    LogMessage(kLogError, u"next");
    // "#ERROR# - " is 10 units; with the line feed a line holds at most 1023.
    EXPECT_EQ(Log(), "#ERROR# - " + std::string(1012, 'x') + "\r\n#ERROR# - next\r\n");
}

TEST_F(RunLogTest, LongMultibyteLinesStayWithin1023BytesAndWholeCharacters) {
    LogMessage(kLogError, std::u16string(600, u'\u00e9'));
    const std::string log = Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_LE(log.size() - 1, 1023u);  // the line feed stored as CR LF
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    const std::string text = log.substr(0, log.size() - 2);
    EXPECT_EQ(platform::Utf16ToUtf8(platform::Utf8ToUtf16(text)), text);  // no broken character
    EXPECT_EQ(log.substr(0, 10), "#ERROR# - ");
}

TEST_F(RunLogTest, FormatsTakeWideTextAndThirtyTwoBitNumbers) {
    LogError(u"%s|%d|%u|%X|%%", {std::u16string_view(u"t"), std::int64_t{-3},
                                   std::int64_t{4000000000}, std::int64_t{0x1A5}});
    EXPECT_EQ(Log(), "#ERROR# - t|-3|4000000000|1A5|%\r\n");
}

TEST_F(RunLogTest, NotesErrorsShowTheLibrarysTextWithoutTheTopBits) {
    LogNotesError(u"Unable to read catalog (%s)", 0x8000 | 259);
    LogNotesError(u"Unable to read catalog (%s)", 259);
    EXPECT_EQ(Log(), "#ERROR# - Unable to read catalog (File does not exist)\r\n"
                     "#ERROR# - Unable to read catalog (File does not exist)\r\n");
}

TEST_F(RunLogTest, AMissingOutputDirectoryLosesTheLineQuietly) {
    Settings().outputDir = platform::Utf8ToUtf16((dir / "absent").string());
    LogMessage(kLogError, u"lost");
    EXPECT_FALSE(std::filesystem::exists(dir / "absent"));
}

}  // namespace
}  // namespace driver
