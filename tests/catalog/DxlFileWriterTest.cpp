#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalog/DxlChunkAppender.h"
#include "catalog/DxlFileWriter.h"
#include "driver/RunSettings.h"
#include "tests/catalog/CatalogTestSupport.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

std::vector<unsigned>* recordedWaits = nullptr;
void RecordWait(unsigned milliseconds) { recordedWaits->push_back(milliseconds); }

// A body that streams `chunks` through the chunk callback as the exporter would, then returns
// `status`.
catalog::DxlExportBody Streaming(std::vector<std::string> chunks, notes::NotesStatus status = 0,
                                 int* runs = nullptr) {
    return [chunks, status, runs] {
        if (runs != nullptr) ++*runs;
        void* context = const_cast<char16_t*>(catalog::kDxlTemporaryFileName);
        for (const std::string& chunk : chunks) {
            catalog::AppendDxlChunk(reinterpret_cast<const unsigned char*>(chunk.data()),
                                    static_cast<std::uint32_t>(chunk.size()), context);
        }
        return status;
    };
}

class DxlFileWriter : public ::testing::Test {
protected:
    void SetUp() override {
        driver::Settings() = {};
        driver::Settings().outputDir = platform::Utf8ToUtf16(dir.path().string());
        driver::Settings().logThreshold = 0;
        recordedWaits = &waits;
        catalog::RetryWait() = RecordWait;
    }
    void TearDown() override {
        driver::Settings() = {};
        catalog::RetryWait() = platform::SleepMilliseconds;
        recordedWaits = nullptr;
    }

    std::vector<std::string> Log() const {
        return std::filesystem::exists(dir / "log.txt") ? testsupport::LogLines(dir / "log.txt")
                                                        : std::vector<std::string>{};
    }

    testsupport::ScratchDir dir;
    std::vector<unsigned> waits;
};

TEST_F(DxlFileWriter, StreamsIntoTheTemporaryFileAndMovesItIntoPlace) {
    WriteFile(dir / "temp.tmp", "left from an earlier run");
    EXPECT_EQ(catalog::WriteDxlFile(Streaming({"a\nb", "", "c\r\nd"}), u"out.dxl"), 0);
    EXPECT_EQ(ReadFile(dir / "out.dxl"), "a\r\nbc\r\r\nd");
    EXPECT_FALSE(std::filesystem::exists(dir / "temp.tmp"));
    EXPECT_TRUE(Log().empty());
    EXPECT_TRUE(waits.empty());
}

TEST_F(DxlFileWriter, AnOutputDirectoryWithATrailingSeparatorIsUsedAsItIs) {
    driver::Settings().outputDir += platform::kPathSeparator;
    EXPECT_EQ(catalog::WriteDxlFile(Streaming({"x"}), u"out.dxl"), 0);
    EXPECT_EQ(ReadFile(dir / "out.dxl"), "x");
}

TEST_F(DxlFileWriter, ATemporaryFileThatCannotBeRemovedStopsTheExportWith260) {
    WriteFile(dir / "temp.tmp" / "inside", "keeps the directory from going");
    WriteFile(dir / "out.dxl", "old");
    int runs = 0;
    EXPECT_EQ(catalog::WriteDxlFile(Streaming({"new"}, 0, &runs), u"out.dxl"), 260);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(Log(), (std::vector<std::string>{
                         "#DEBUG# - Retrying delete DXL temporary file: 1",
                         "#DEBUG# - unlink(temp.tmp): Is a directory",
                         "#DEBUG# - Retrying delete DXL temporary file: 2",
                         "#DEBUG# - unlink(temp.tmp): Is a directory",
                         "#DEBUG# - Retrying delete DXL temporary file: 3",
                         "#DEBUG# - unlink(temp.tmp): Is a directory",
                         "#DEBUG# - Retrying delete DXL temporary file: 4",
                         "#DEBUG# - unlink(temp.tmp): Is a directory",
                         "#WARNING# - Unable to delete DXL temporary file (tried retry)",
                     }));
    EXPECT_EQ(waits, (std::vector<unsigned>{1000, 1000, 1000, 1000}));
    EXPECT_EQ(ReadFile(dir / "out.dxl"), "old");
    EXPECT_TRUE(std::filesystem::exists(dir / "temp.tmp" / "inside"));
}

TEST_F(DxlFileWriter, AnExistingFinalFileIsNeverReplaced) {
    WriteFile(dir / "out.dxl", "old");
    EXPECT_EQ(catalog::WriteDxlFile(Streaming({"new"}), u"out.dxl"), 264);
    EXPECT_EQ(Log(), (std::vector<std::string>{
                         "#DEBUG# - Retrying move DXL file into place: 1",
                         "#DEBUG# - link(temp.tmp, out.dxl): File exists",
                         "#DEBUG# - Retrying move DXL file into place: 2",
                         "#DEBUG# - link(temp.tmp, out.dxl): File exists",
                         "#DEBUG# - Retrying move DXL file into place: 3",
                         "#DEBUG# - link(temp.tmp, out.dxl): File exists",
                         "#DEBUG# - Retrying move DXL file into place: 4",
                         "#DEBUG# - link(temp.tmp, out.dxl): File exists",
                         "#WARNING# - Unable to move DXL file into place (tried retry)",
                     }));
    EXPECT_EQ(waits.size(), 4u);
    EXPECT_EQ(ReadFile(dir / "out.dxl"), "old");
    EXPECT_FALSE(std::filesystem::exists(dir / "temp.tmp"));
}

TEST_F(DxlFileWriter, ABodyFailureIsReturnedAndItsOutputDeleted) {
    EXPECT_EQ(catalog::WriteDxlFile(Streaming({"part", "ial"}, 0x0ABC), u"out.dxl"), 0x0ABC);
    EXPECT_FALSE(std::filesystem::exists(dir / "temp.tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.dxl"));
    EXPECT_TRUE(Log().empty());
}

TEST_F(DxlFileWriter, AChunkThatCannotBeStoredFailsTheExportWith270) {
    // The first chunk finds a directory where the temporary file should be.
    const catalog::DxlExportBody body = [&] {
        std::filesystem::create_directory(dir / "temp.tmp");
        return Streaming({"one", "two", "three"}, 0x0ABC)();
    };
    EXPECT_EQ(catalog::WriteDxlFile(body, u"out.dxl"), 270);
    // Nor can the directory be removed after the export: that is said too.
    EXPECT_EQ(Log(),
              (std::vector<std::string>{"#DEBUG# - Unable to open temp file for writing: temp.tmp",
                                        "#DEBUG# - open(temp.tmp): File exists",
                                        "#DEBUG# - Unable to delete temp.tmp",
                                        "#DEBUG# - unlink(temp.tmp): Is a directory"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "out.dxl"));

    // The next export starts afresh.
    std::filesystem::remove(dir / "temp.tmp");
    EXPECT_EQ(catalog::WriteDxlFile(Streaming({"fine"}), u"out.dxl"), 0);
    EXPECT_EQ(ReadFile(dir / "out.dxl"), "fine");
}

}  // namespace
