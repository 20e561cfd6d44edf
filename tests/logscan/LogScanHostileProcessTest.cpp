// -logscan under hostile conditions: a file-size limit on a file larger than the memory the
// program may use, and a stop requested by SIGTERM or SIGINT in the middle of the scan. Either
// way logscan.txt holds complete rows only.
#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>

#include "tests/logscan/LogScanRun.h"

namespace logscantest {
namespace {

// A row of about 10 KB whose quoted field holds a line feed every 100 bytes, so that the pieces
// the cut-back reads end inside quotes, and double quotes that come in pairs.
std::string BigAgent(int n) {
    std::string task;
    for (int i = 0; i < 100; ++i) task += std::string(99, 'y') + "\\n";
    char time[17];
    std::snprintf(time, sizeof time, "00258EC0%08X", n);
    return Record("Domino.AGENT", time,
                  R"([["TaskName", ")" + task + R"("], ["UserName", "u \"q\""]])");
}

class LogScanHostileProcess : public LogScanRun {
protected:
    // Writes `count` big rows' records and returns the length of one row in logscan.txt (all are
    // equally long).
    std::size_t WriteBigStream(int count) {
        WriteStream({BigAgent(0)});
        Run();
        const std::size_t rowLength = Rows().size();
        std::vector<std::string> records;
        for (int n = 0; n < count; ++n) records.push_back(BigAgent(n));
        WriteStream(records);
        return rowLength;
    }
};

TEST_F(LogScanHostileProcess, AFailedWriteIsCutBackInBoundedMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a sanitizer build cannot run under an address-space limit";
#endif
    if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "Wine under an address-space limit";
    const std::size_t rowLength = WriteBigStream(8000);
    ASSERT_GT(rowLength, 10000u);
    testsupport::ProcessOptions limited;
    limited.fileSizeLimit = 80'000'000;       // rows of about 80 MB reach it
    limited.addressSpaceLimit = 60L << 20;    // the whole file does not fit in memory
    EXPECT_EQ(Run({}, limited).exitCode, 0);
    EXPECT_EQ(Log(), std::vector<std::string>{
                         "#ERROR# - Error scanning activity stream (I/O data error)"});
    const auto size = std::filesystem::file_size(Output() / "logscan.txt");
    EXPECT_EQ(size, (80'000'000 / rowLength) * rowLength);
}

TEST_F(LogScanHostileProcess, AStopRequestEndsTheScanAfterACompleteRow) {
    if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "no POSIX signals for Windows programs";
    const std::size_t rowLength = WriteBigStream(4000);
    for (const int signal : {SIGTERM, SIGINT}) {
        // The file of the run before must not set the signal off before the program runs.
        std::filesystem::remove(Output() / "logscan.txt");
        std::filesystem::remove(Output() / "log.txt");
        testsupport::ProcessOptions options;
        options.whileRunning =
            testsupport::SignalOnceWritten(Output() / "logscan.txt", {signal}, (1 << 20) + 1);
        EXPECT_EQ(Run({}, options).exitCode, 128 + signal) << "ended as by the signal";
        EXPECT_EQ(Log(), std::vector<std::string>{"#ERROR# - Run stopped on request"});
        const std::string rows = Rows();
        EXPECT_GT(rows.size(), 1u << 20);
        EXPECT_LT(rows.size(), 4000 * rowLength) << "the run was not stopped";
        EXPECT_EQ(rows.size() % rowLength, 0u) << "a row cut in the middle";
        ExpectHandlesReleased();
    }
}

}  // namespace
}  // namespace logscantest
