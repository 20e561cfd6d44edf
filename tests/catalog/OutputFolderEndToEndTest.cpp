// The catalog export in an output folder that others write to as well: a second run at the same
// time, and a link put in place of the temporary file while the export writes it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using catalogtest::AcmeRun;
using testsupport::ReadFile;

const std::string kCatalogFailure = "#ERROR# - Unable to read catalog (";

std::size_t CountLinesStartingWith(const std::vector<std::string>& lines, const std::string& start) {
    std::size_t count = 0;
    for (const std::string& line : lines) count += line.rfind(start, 0) == 0;
    return count;
}

// Many small chunks, each opened and closed on its own: the export takes long enough for a
// second run, or a swap of the file, to fall into it.
const char* const kSmallChunks = "SimDxlChunk=20\n";

TEST(CatalogOutputFolderEndToEnd, TwoRunsAtOnceNeverPublishASplicedFile) {
    if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "two Wine processes start one by one";
    const AcmeRun run(kSmallChunks);
    catalogtest::WriteBigCatalog(run, 400);
    ASSERT_EQ(run.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 0);
    const std::string expected = ReadFile(run.Output() / "catalog.dxl");
    ASSERT_GT(expected.size(), 200000u);

    for (int round = 0; round < 2; ++round) {
        std::filesystem::remove(run.Output() / "catalog.dxl");
        std::filesystem::remove(run.Output() / "log.txt");
        int exitCodes[2] = {-1, -1};
        std::thread second([&] { exitCodes[1] = run.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode; });
        exitCodes[0] = run.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode;
        second.join();
        EXPECT_EQ(exitCodes[0], 0);
        EXPECT_EQ(exitCodes[1], 0);
        // One run publishes its complete file; the other finds the folder taken, or the file
        // there, and says so.
        EXPECT_EQ(ReadFile(run.Output() / "catalog.dxl"), expected) << "round " << round;
        EXPECT_EQ(CountLinesStartingWith(run.Log(), kCatalogFailure), 1u) << "round " << round;
        EXPECT_FALSE(std::filesystem::exists(run.Output() / "temp.tmp"));
    }
}

TEST(CatalogOutputFolderEndToEnd, ALinkSwappedInForTheTemporaryFileGetsNothing) {
    if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "POSIX links look like files to Wine";
    const AcmeRun run(kSmallChunks);
    catalogtest::WriteBigCatalog(run, 400);
    const testsupport::ScratchDir elsewhere;
    const std::filesystem::path target = elsewhere / "target.txt";
    testsupport::WriteFile(target, "not for the exporter\n");
    const std::filesystem::path temporary = run.Output() / "temp.tmp";
    const std::filesystem::path link = run.Output() / "link";

    // Once the export has created the temporary file, a link replaces it in one step.
    std::atomic<bool> swapped = false;
    std::atomic<bool> done = false;
    std::thread swapper([&] {
        while (!done && !swapped) {
            struct stat info {};
            if (::lstat(temporary.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
                std::filesystem::create_symlink(target, link);
                std::filesystem::rename(link, temporary);
                swapped = true;
            }
        }
    });
    const auto result = run.Run({"-catalog", "-s", "Hub01/Acme", "-debug"});
    done = true;
    swapper.join();
    ASSERT_TRUE(swapped) << "the export ended before the swap";
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(ReadFile(target), "not for the exporter\n");
    EXPECT_FALSE(std::filesystem::exists(run.Output() / "catalog.dxl"));
    const auto log = run.Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), kCatalogFailure + "I/O data error)");
    run.ExpectEverythingReleased();
}

}  // namespace
