// The rules of the run's output files, once for all of them: text written with CR LF line ends,
// a cut back to the last whole line or row, and a staging file that takes its final name only
// as the complete file this run wrote.
#include "platform/OutputFile.h"

#include <gtest/gtest.h>

#include "tests/platform/WidePath.h"
#include "tests/support/TestSupport.h"

namespace platform {
namespace {

using platformtest::Wide;
using testsupport::ReadFile;
using testsupport::WriteFile;

TEST(OutputFile, EveryLineFeedIsWrittenAsCrLf) {
    testsupport::ScratchDir dir;
    const std::u16string path = Wide(dir / "t.txt");
    {
        OutputFile file(path, OpenMode::replace);
        ASSERT_TRUE(file.IsOpen());
        EXPECT_TRUE(file.Write("a\nb\r\n\n"));
        EXPECT_TRUE(file.Write(std::string(20000, '\n')));
        EXPECT_TRUE(file.Close());
    }
    std::string expected = "a\r\nb\r\r\n\r\n";
    for (int i = 0; i < 20000; ++i) expected += "\r\n";
    EXPECT_EQ(ReadFile(dir / "t.txt"), expected);
    EXPECT_EQ(StoredBytes("a\nb\r\n\n"), 9u);

    OutputFile(path, OpenMode::append).Write("c\n");
    EXPECT_EQ(ReadFile(dir / "t.txt"), expected + "c\r\n");
    OutputFile(path, OpenMode::replace).Close();
    EXPECT_EQ(ReadFile(dir / "t.txt"), "");
    EXPECT_FALSE(OutputFile(Wide(dir / "no" / "t.txt"), OpenMode::replace).IsOpen());
    EXPECT_FALSE(OutputFile(path, OpenMode::createNew).IsOpen());
    EXPECT_FALSE(OutputFile(Wide(dir / "absent"), OpenMode::appendExisting).IsOpen());
}

// The stream hands each flushed buffer to the conversion at once, which fills a buffer of 8192
// bytes: a line of 8190 bytes ends with its CR LF on the buffer's last byte, one of 8191 leaves
// no room for the CR. Run in the sanitizer build too, where a write past the buffer shows.
TEST(OutputFile, LinesEndingAtTheConversionBuffersLastByte) {
    testsupport::ScratchDir dir;
    OutputFile file(Wide(dir / "t.txt"), OpenMode::replace);
    ASSERT_TRUE(file.IsOpen());
    ASSERT_EQ(std::setvbuf(file.stream(), nullptr, _IOFBF, 1 << 16), 0);
    std::string expected;
    for (const std::size_t length : {8189u, 8190u, 8191u, 8192u, 16380u, 16381u, 16382u}) {
        ASSERT_TRUE(file.Write(std::string(length, 'a') + "\nb\n"));
        ASSERT_EQ(std::fflush(file.stream()), 0);
        expected += std::string(length, 'a') + "\r\nb\r\n";
    }
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(ReadFile(dir / "t.txt"), expected);
}

// A file closed after a failed write keeps its whole lines; a CSV file its whole rows, a line
// feed inside double quotes (doubled ones included) not ending one.
TEST(OutputFile, AFailedWriteCutsTheFileBackToItsWholeLinesOrRows) {
    testsupport::ScratchDir dir;
    const std::u16string path = Wide(dir / "t.txt");
    const auto cut = [&](const std::string& text, bool failed, LineEnds ends) {
        OutputFile file(path, OpenMode::replace);
        file.Write(text);
        EXPECT_TRUE(file.CloseKeepingWholeLines(failed, ends));
        return ReadFile(dir / "t.txt");
    };
    EXPECT_EQ(cut("one\ntwo\nthr", true, LineEnds::lines), "one\r\ntwo\r\n");
    EXPECT_EQ(cut("one\ntwo\nthr", false, LineEnds::lines), "one\r\ntwo\r\nthr");
    EXPECT_EQ(cut("half", true, LineEnds::lines), "");
    const std::string rows = "a,\"b\nc\",d\n,\"\"\"x\n";
    EXPECT_EQ(cut(rows, true, LineEnds::csvRows), "a,\"b\r\nc\",d\r\n");
    EXPECT_EQ(cut(rows, true, LineEnds::lines), "a,\"b\r\nc\",d\r\n,\"\"\"x\r\n");
    // A file larger than the cut's reading buffer of 64 KiB is cut as a whole.
    const std::string many = std::string(70000, ',') + "\n" + std::string(70000, 'z');
    EXPECT_EQ(cut(many, true, LineEnds::csvRows), std::string(70000, ',') + "\r\n");
}

TEST(OutputFile, EveryOpenOfAStagingFileIsTheFileTheFirstCreatedAndNoOther) {
    testsupport::ScratchDir dir;
    WriteFile(dir / "s.tmp", "left over");
    StagingFile staging(Wide(dir / "s.tmp"));
    EXPECT_FALSE(staging.Open().IsOpen()) << "a file left under the name is not written to";
    EXPECT_EQ(staging.Clear(), DeleteResult::deleted);
    EXPECT_EQ(staging.Clear(), DeleteResult::notFound);
    for (const char* piece : {"one\n", "two\n"}) {
        OutputFile file = staging.Open();
        ASSERT_TRUE(file.IsOpen());
        file.Write(piece);
        staging.Wrote(piece);
    }
    EXPECT_TRUE(staging.created());
    EXPECT_EQ(ReadFile(dir / "s.tmp"), "one\r\ntwo\r\n");
    EXPECT_TRUE(staging.IsCompleteAt(staging.path()));

    // Another file of the same size under the name: not opened, not complete.
    std::filesystem::rename(dir / "s.tmp", dir / "kept");
    WriteFile(dir / "s.tmp", "XXXXXXXXXX");
    SystemFailure failure;
    EXPECT_FALSE(staging.Open(&failure).IsOpen());
    EXPECT_EQ(failure.call, nullptr);
    EXPECT_FALSE(staging.IsCompleteAt(staging.path()));
    EXPECT_EQ(ReadFile(dir / "s.tmp"), "XXXXXXXXXX");
    // The same file, one byte short or one long: not complete.
    std::filesystem::rename(dir / "kept", dir / "s.tmp");
    std::filesystem::resize_file(dir / "s.tmp", 9);
    EXPECT_FALSE(staging.IsCompleteAt(staging.path()));
    std::filesystem::resize_file(dir / "s.tmp", 11);
    EXPECT_FALSE(staging.IsCompleteAt(staging.path()));
    std::filesystem::resize_file(dir / "s.tmp", 10);
    EXPECT_TRUE(staging.IsCompleteAt(staging.path()));
}

TEST(OutputFile, PublishingWithoutReplacingNeverTakesAnotherFilesPlace) {
    testsupport::ScratchDir dir;
    StagingFile staging(Wide(dir / "s.tmp"));
    staging.Open().Write("new\n");
    staging.Wrote("new\n");
    WriteFile(dir / "final", "old");
    EXPECT_FALSE(staging.PublishWithoutReplacing(Wide(dir / "final")));
    EXPECT_EQ(ReadFile(dir / "final"), "old");
    EXPECT_EQ(ReadFile(dir / "s.tmp"), "new\r\n");
    std::filesystem::remove(dir / "final");
    EXPECT_TRUE(staging.PublishWithoutReplacing(Wide(dir / "final")));
    EXPECT_EQ(ReadFile(dir / "final"), "new\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "s.tmp"));
    EXPECT_TRUE(staging.IsCompleteAt(Wide(dir / "final")));
}

TEST(OutputFile, PublishingReplacingTakesTheOlderFilesPlaceInOneStep) {
    testsupport::ScratchDir dir;
    StagingFile staging(Wide(dir / "s.tmp"));
    staging.Open().Write("new\n");
    WriteFile(dir / "final", "old");
    EXPECT_TRUE(staging.PublishReplacing(Wide(dir / "final")));
    EXPECT_EQ(ReadFile(dir / "final"), "new\r\n");
    EXPECT_FALSE(staging.PublishReplacing(Wide(dir / "final")));  // no staging file left
}

}  // namespace
}  // namespace platform
