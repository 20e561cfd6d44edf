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

TEST(Files, TextStreamsConvertLongWritesOfMixedLinesWhole) {
    testsupport::ScratchDir dir;
    std::FILE* file = OpenTextStream(Wide(dir / "t.txt"), OpenMode::replace);
    ASSERT_NE(file, nullptr);
    std::string written;
    std::string expected;
    unsigned state = 1;
    for (int piece = 0; piece < 300; ++piece) {
        state = state * 1103515245u + 12345u;
        // Lines of 0 to 600 bytes, written in pieces of up to 20000 bytes, past the buffers.
        std::string text;
        for (std::size_t length = (state >> 8) % 20000; text.size() < length;) {
            state = state * 1103515245u + 12345u;
            text.append((state >> 8) % 600, static_cast<char>('a' + piece % 26));
            text += '\n';
        }
        ASSERT_EQ(std::fwrite(text.data(), 1, text.size(), file), text.size());
        for (const char c : text) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
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
