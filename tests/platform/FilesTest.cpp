#include "platform/Files.h"

#include <gtest/gtest.h>

#include "platform/Text.h"
#include "tests/support/TestSupport.h"

namespace platform {
namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

std::u16string Wide(const std::filesystem::path& path) { return Utf8ToUtf16(path.string()); }

TEST(Files, TextStreamsWriteEveryLineFeedAsCrLf) {
    testsupport::ScratchDir dir;
    std::FILE* file = OpenTextStream(Wide(dir / "t.txt"), OpenMode::replace);
    ASSERT_NE(file, nullptr);
    std::fputs("a\nb\r\n\n", file);
    const std::string big(20000, '\n');
    std::fwrite(big.data(), 1, big.size(), file);
    ASSERT_EQ(std::fclose(file), 0);
    std::string expected = "a\r\nb\r\r\n\r\n";
    for (int i = 0; i < 20000; ++i) expected += "\r\n";
    EXPECT_EQ(ReadFile(dir / "t.txt"), expected);

    file = OpenTextStream(Wide(dir / "t.txt"), OpenMode::append);
    std::fputs("c\n", file);
    std::fclose(file);
    EXPECT_EQ(ReadFile(dir / "t.txt"), expected + "c\r\n");

    file = OpenTextStream(Wide(dir / "t.txt"), OpenMode::replace);
    std::fclose(file);
    EXPECT_EQ(ReadFile(dir / "t.txt"), "");
    EXPECT_EQ(OpenTextStream(Wide(dir / "no" / "t.txt"), OpenMode::replace), nullptr);
}

// The stream hands each flushed buffer to the conversion at once, which fills a buffer of 8192
// bytes: a line of 8190 bytes ends with its CR LF on the buffer's last byte, one of 8191 leaves
// no room for the CR. Run in the sanitizer build too, where a write past the buffer shows.
TEST(Files, TextStreamLinesEndingAtTheConversionBuffersLastByte) {
    testsupport::ScratchDir dir;
    std::FILE* file = OpenTextStream(Wide(dir / "t.txt"), OpenMode::replace);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::setvbuf(file, nullptr, _IOFBF, 1 << 16), 0);
    std::string expected;
    for (const std::size_t length : {8189u, 8190u, 8191u, 8192u, 16380u, 16381u, 16382u}) {
        const std::string line = std::string(length, 'a') + "\nb\n";
        ASSERT_EQ(std::fwrite(line.data(), 1, line.size(), file), line.size());
        ASSERT_EQ(std::fflush(file), 0);
        expected += std::string(length, 'a') + "\r\nb\r\n";
    }
    ASSERT_EQ(std::fclose(file), 0);
    EXPECT_EQ(ReadFile(dir / "t.txt"), expected);
}

TEST(Files, MovesNeverReplaceAnExistingFile) {
    testsupport::ScratchDir dir;
    WriteFile(dir / "from", "new");
    WriteFile(dir / "to", "old");
    EXPECT_FALSE(MoveFileNoReplace(Wide(dir / "from"), Wide(dir / "to")));
    EXPECT_EQ(ReadFile(dir / "to"), "old");
    EXPECT_EQ(ReadFile(dir / "from"), "new");
    std::filesystem::remove(dir / "to");
    EXPECT_TRUE(MoveFileNoReplace(Wide(dir / "from"), Wide(dir / "to")));
    EXPECT_EQ(ReadFile(dir / "to"), "new");
    EXPECT_FALSE(std::filesystem::exists(dir / "from"));
}

TEST(Files, DeletesTellAMissingFileFromAFailure) {
    testsupport::ScratchDir dir;
    WriteFile(dir / "f", "x");
    std::filesystem::create_directories(dir / "d" / "inner");
    EXPECT_EQ(DeleteFilePath(Wide(dir / "f")), DeleteResult::deleted);
    EXPECT_EQ(DeleteFilePath(Wide(dir / "f")), DeleteResult::notFound);
    EXPECT_EQ(DeleteFilePath(Wide(dir / "d")), DeleteResult::failed);
    EXPECT_EQ(QueryPathKind(Wide(dir / "d")), PathKind::directory);
    EXPECT_EQ(QueryPathKind(Wide(dir / "f")), PathKind::missing);
    WriteFile(dir / "f", "x");
    EXPECT_EQ(QueryPathKind(Wide(dir / "f")), PathKind::other);
}

TEST(Text, ConversionsReplaceInvalidSequences) {
    EXPECT_EQ(Utf16ToUtf8(u"\u00e9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf16ToUtf8(std::u16string{char16_t(0xDC00)}), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");  // overlong form
    EXPECT_EQ(Utf8PrefixLength("a\xC3\xA9", 2), 1u);
    EXPECT_EQ(Utf8PrefixLength("a\xC3\xA9", 3), 3u);
}

}  // namespace
}  // namespace platform
