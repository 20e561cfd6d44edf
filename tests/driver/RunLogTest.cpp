#include "driver/RunLog.h"

#include <gtest/gtest.h>

#include "driver/RunSettings.h"
#include "notessim/SimControl.h"
#include "platform/Text.h"
#include "tests/support/TestSupport.h"

namespace driver {
namespace {

using testsupport::ReadFile;

class RunLog : public ::testing::Test {
protected:
    void SetUp() override {
        Settings() = RunSettings{};
        Settings().outputDir = platform::Utf8ToUtf16(dir.path().string());
    }
    void TearDown() override { Settings() = RunSettings{}; }
    std::string Log() const { return ReadFile(dir / "log.txt"); }

    testsupport::ScratchDir dir;
};

TEST_F(RunLog, DebugLinesNeedTheDebugThreshold) {
    LogDebug(u"quiet %d", {std::int64_t{1}});
    EXPECT_FALSE(std::filesystem::exists(dir / "log.txt"));
    Settings().logThreshold = 0;
    LogDebug(u"loud %d", {std::int64_t{2}});
    LogMessage(kLogWarning, u"warned");
    LogError(u"failed %s", {std::u16string_view(u"here")});
    EXPECT_EQ(Log(), "#DEBUG# - loud 2\r\n#WARNING# - warned\r\n#ERROR# - failed here\r\n");
}

TEST_F(RunLog, LevelsAboveErrorAreWrittenAsErrorAndLinesAppendInOrder) {
    LogMessage(5, u"five");
    LogMessage(kLogError, u"second");
    EXPECT_EQ(Log(), "#ERROR# - five\r\n#ERROR# - second\r\n");
}

TEST_F(RunLog, TextIsUtf8WithoutBom) {
    LogMessage(kLogError, u"second \u00e9\u20ac\U0001F600");
    EXPECT_EQ(Log(), "#ERROR# - second \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\r\n");
}

// Text from the command line or from Notes must not forge a line of its own.
TEST_F(RunLog, ControlCharactersInsideAnEntryBecomeSpaces) {
    LogError(u"Invalid start date: %s", {std::u16string_view(u"x\n#WARNING# - forged\r\t\x01\x1f")});
    LogMessage(kLogError, std::u16string(u"nul\0end", 7));
    EXPECT_EQ(Log(), "#ERROR# - Invalid start date: x #WARNING# - forged    \r\n"
                     "#ERROR# - nul end\r\n");
}

// "#ERROR# - " is 10 bytes; a line holds at most 1022 bytes before its line feed. ASCII text
// one either side of the limit, and a two-byte character first, so that the text's 1022 units
// are 1023 bytes and only the byte limit cuts: every one-byte change of a limit shows.
TEST_F(RunLog, LongLinesAreCutAtTheByteLimitAndKeepTheirLineEnd) {
    const std::string prefix = "#ERROR# - ";
    for (const std::size_t length : {1011u, 1012u, 1013u, 2000u}) {
        LogMessage(kLogError, std::u16string(length, u'x'));
    }
    for (const std::size_t length : {1009u, 1010u, 1011u, 1012u}) {
        LogMessage(kLogError, u"\u00e9" + std::u16string(length, u'x'));
    }
    const std::string e = "\xC3\xA9";
    EXPECT_EQ(Log(), prefix + std::string(1011, 'x') + "\r\n" +  //
                         prefix + std::string(1012, 'x') + "\r\n" +
                         prefix + std::string(1012, 'x') + "\r\n" +
                         prefix + std::string(1012, 'x') + "\r\n" +
                         prefix + e + std::string(1009, 'x') + "\r\n" +
                         prefix + e + std::string(1010, 'x') + "\r\n" +
                         prefix + e + std::string(1010, 'x') + "\r\n" +
                         prefix + e + std::string(1010, 'x') + "\r\n");
}

// A cut never splits a character: 337 three-byte characters fill 1021 bytes, the 338th would
// end at 1024.
TEST_F(RunLog, LongMultibyteLinesAreCutBetweenCharacters) {
    LogMessage(kLogError, std::u16string(600, u'\u20ac'));
    std::string expected = "#ERROR# - ";
    for (int i = 0; i < 337; ++i) expected += "\xE2\x82\xAC";
    EXPECT_EQ(Log(), expected + "\r\n");
}

TEST_F(RunLog, FormatsTakeWideTextAndThirtyTwoBitNumbers) {
    LogError(u"%s|%d|%u|%X|%%", {std::u16string_view(u"t"), std::int64_t{-3},
                                   std::int64_t{4000000000}, std::int64_t{0x1A5}});
    EXPECT_EQ(Log(), "#ERROR# - t|-3|4000000000|1A5|%\r\n");
}

// A status the library has no text for (ERR_COLLECTION_NOT_CREATED is internaltext) shows as
// itself, flag bits and all.
TEST_F(RunLog, NotesErrorsShowTheLibrarysTextWithoutTheTopBits) {
    LogNotesError(u"Unable to read catalog (%s)", 0x8000 | 259);
    LogNotesError(u"Unable to read catalog (%s)", 259);
    LogNotesError(u"Unable to read catalog (%s)", 0x030B);
    LogNotesError(u"Unable to read catalog (%s)", 0xC30B);
    EXPECT_EQ(Log(), "#ERROR# - Unable to read catalog (File does not exist)\r\n"
                     "#ERROR# - Unable to read catalog (File does not exist)\r\n"
                     "#ERROR# - Unable to read catalog (status 0x030B)\r\n"
                     "#ERROR# - Unable to read catalog (status 0xC30B)\r\n");
}

TEST_F(RunLog, AMissingOutputDirectoryLosesTheLineQuietly) {
    Settings().outputDir = platform::Utf8ToUtf16((dir / "absent").string());
    LogMessage(kLogError, u"lost");
    EXPECT_FALSE(std::filesystem::exists(dir / "absent"));
}

}  // namespace
}  // namespace driver
