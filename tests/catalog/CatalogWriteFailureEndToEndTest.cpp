// DXL output that cannot be written in full: the child process gets a small file size limit, so
// real writes of the temporary file fail.
#include <gtest/gtest.h>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using testsupport::AcmeRun;

constexpr long kFileSizeLimit = 8192;

// Runs -catalog over a catalog of 100 big notes, under the file size limit.
void RunOverTheLimit(const AcmeRun& run, bool debug) {
    catalogtest::WriteBigCatalog(run, 100);
    testsupport::ProcessOptions options;
    options.fileSizeLimit = kFileSizeLimit;
    std::vector<std::string> arguments = {"-catalog", "-s", "Hub01/Acme"};
    if (debug) arguments.push_back("-debug");
    ASSERT_EQ(run.Run(arguments, options).exitCode, 0);
}

void ExpectFailedWrite(const AcmeRun& run, const std::vector<std::string>& log) {
    EXPECT_EQ(run.Log(), log);
    EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl"));
    EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp"));
    run.ExpectEveryHandleReleased();
}

TEST(CatalogWriteFailureEndToEnd, AChunkWrittenShortFailsTheExportWith270) {
    const AcmeRun run;
    RunOverTheLimit(run, true);
    const auto log = run.Log();
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].rfind("#DEBUG# - Only wrote ", 0), 0u) << log[0];
    EXPECT_NE(log[0].find(" bytes of 16384 to temp file: temp.tmp"), std::string::npos) << log[0];
    // The system's reason: Windows gives its own text.
    const std::string reason = testsupport::ExporterIsWindows()
                                   ? log[1]
                                   : "#DEBUG# - write(temp.tmp): File too large";
    EXPECT_EQ(reason.rfind("#DEBUG# - write(temp.tmp): ", 0), 0u) << reason;
    ExpectFailedWrite(run, {log[0], reason,
                            "#DEBUG# - DXL export of 100 notes: 100 note-open hook calls",
                            "#ERROR# - Unable to read catalog (I/O data error)"});
}

// Small chunks fit the stream's buffer, so the write error surfaces only when the buffer is
// flushed: that must fail the export just the same, not move a cut-off file into place. Without
// -debug only the error is logged.
TEST(CatalogWriteFailureEndToEnd, AWriteErrorAtFlushFailsTheExportWith270) {
    for (const bool debug : {true, false}) {
        const AcmeRun run("SimDxlChunk=100\n");
        RunOverTheLimit(run, debug);
        std::vector<std::string> log = {"#ERROR# - Unable to read catalog (I/O data error)"};
        if (debug) {
            log.insert(log.begin(), {"#DEBUG# - Unable to write temp file: temp.tmp",
                                     "#DEBUG# - DXL export of 100 notes: 100 note-open hook calls"});
        }
        ExpectFailedWrite(run, log);
    }
}

}  // namespace
