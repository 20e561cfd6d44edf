// The catalog export in an output folder that others write to as well: a second run at the same
// time, and a link or another file put in place of the temporary file while the export writes it.
#include <gtest/gtest.h>

#include <thread>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using testsupport::AcmeRun;
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
    const std::string expected = ReadFile(run.output() / "catalog.dxl");
    ASSERT_GT(expected.size(), 200000u);

    for (int round = 0; round < 2; ++round) {
        std::filesystem::remove(run.output() / "catalog.dxl");
        std::filesystem::remove(run.output() / "log.txt");
        int exitCodes[2] = {-1, -1};
        std::thread second([&] { exitCodes[1] = run.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode; });
        exitCodes[0] = run.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode;
        second.join();
        EXPECT_EQ(exitCodes[0], 0);
        EXPECT_EQ(exitCodes[1], 0);
        // One run publishes its complete file; the other finds the folder taken, or the file
        // there, and says so.
        EXPECT_EQ(ReadFile(run.output() / "catalog.dxl"), expected) << "round " << round;
        EXPECT_EQ(CountLinesStartingWith(run.Log(), kCatalogFailure), 1u) << "round " << round;
        EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp"));
    }
}

// Between two chunks of the export, a link to a file elsewhere, or another file, takes the
// temporary file's name (the fault injector puts it there at the second chunk's open): neither
// is written to, and nothing is published.
TEST(CatalogOutputFolderEndToEnd, AFilePutInPlaceOfTheTemporaryFileGetsNothing) {
    if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "LD_PRELOAD of a Linux library";
    const AcmeRun run(kSmallChunks);
    catalogtest::WriteBigCatalog(run, 4);
    const testsupport::ScratchDir elsewhere;
    const std::filesystem::path target = elsewhere / "target.txt";
    testsupport::WriteFile(target, "not for the exporter\n");
    const std::filesystem::path temporary = run.output() / "temp.tmp";
    for (const char* action : {"link", "swap"}) {
        SCOPED_TRACE(action);
        std::filesystem::remove(run.output() / "log.txt");
        std::filesystem::remove(temporary);
        testsupport::ProcessOptions options;
        options.environment = testsupport::FaultInjection({{"CALL", "open"},
                                                           {"PATH", "temp.tmp"},
                                                           {"AT", "2"},
                                                           {"ACTION", action},
                                                           {"LINK_TARGET", target.string()}});
        EXPECT_EQ(run.Run({"-catalog", "-s", "Hub01/Acme", "-debug"}, options).exitCode, 0);
        EXPECT_EQ(ReadFile(target), "not for the exporter\n");
        EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl"));
        // Refused at its open: a link is not followed, another file is not the export's.
        std::vector<std::string> expected = {
            "#DEBUG# - Unable to open temp file for writing: temp.tmp",
            "#DEBUG# - DXL export of 4 notes: 4 note-open hook calls",
            kCatalogFailure + "I/O data error)"};
        if (action == std::string("link")) {
            expected.insert(expected.begin() + 1,
                            "#DEBUG# - open(temp.tmp): Too many levels of symbolic links");
        }
        EXPECT_EQ(run.Log(), expected);
        EXPECT_FALSE(std::filesystem::exists(temporary));
        run.ExpectEveryHandleReleased();
    }
}

}  // namespace
