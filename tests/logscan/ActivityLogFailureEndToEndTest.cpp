// Every way the -logscan mode can fail: one run-log line each, and what stays in logscan.txt.
#include <gtest/gtest.h>

#include "tests/logscan/LogScanRun.h"

namespace logscantest {
namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

std::string Agent(int n) {
    char time[17];
    std::snprintf(time, sizeof time, "00258EC0%08X", n);
    return Record("Domino.AGENT", time, R"([["TaskName", "t"], ["UserName", "u"]])");
}

class ActivityLogFailureEndToEnd : public LogScanRun {
protected:
    void ExpectLog(const std::string& line) {
        EXPECT_EQ(Log(), std::vector<std::string>{"#ERROR# - " + line});
    }
    void LeaveStaleOutput() { WriteFile(Output() / "logscan.txt", "rows of an earlier run\r\n"); }
};

TEST_F(ActivityLogFailureEndToEnd, OutputNotCreatable) {
    std::filesystem::create_directories(Output() / "logscan.txt");
    EXPECT_EQ(Run().exitCode, 0);
    ExpectLog("Unable to create output file");
    EXPECT_FALSE(std::filesystem::exists(Report())) << "Notes was started";
}

TEST_F(ActivityLogFailureEndToEnd, NotesDoesNotStart) {
    LeaveStaleOutput();
    AddIniLine("SimFault=InitializeNotes:0x01A0");  // ERR_TOO_MANY_PROCESSES
    EXPECT_EQ(Run().exitCode, 0);
    ExpectLog("Notes initialization failed (1A0)");
    EXPECT_EQ(Rows(), "");
}

TEST_F(ActivityLogFailureEndToEnd, IdSwitchFails) {
    LeaveStaleOutput();
    Run({"-id", "collector.id", "-password", "wrong"});
    ExpectLog("Unable to switch id (Wrong Password. (Passwords are case sensitive - be sure to use "
              "correct upper and lower case.))");
    EXPECT_EQ(Rows(), "");
    ExpectHandlesReleased();
}

TEST_F(ActivityLogFailureEndToEnd, InvalidStartDates) {
    for (const std::string start : {"00258EC0002BF20", "00258EC0002BF2000", "00258EC002BF 200",
                                    "00258EC0002BF2G0", "G0258EC0002BF200"}) {
        LeaveStaleOutput();
        std::filesystem::remove(Output() / "log.txt");
        Run({"-start", start});
        ExpectLog("Invalid start date: " + start);
        EXPECT_EQ(Rows(), "") << start;
        ExpectHandlesReleased();
    }
}

TEST_F(ActivityLogFailureEndToEnd, StreamCannotBeOpened) {
    LeaveStaleOutput();
    Run({"-p", "missing.nsf"});
    ExpectLog("Error accessing activity stream (File does not exist)");
    EXPECT_EQ(Rows(), "");
    ExpectHandlesReleased();
}

TEST_F(ActivityLogFailureEndToEnd, MalformedLineEndsTheScanAfterTheRowsBefore) {
    WriteStream({Agent(1), "", "{\"type\": \"Domino.AGENT\", \"time\": ", Agent(2)});
    Run();
    const std::string stream =
        testsupport::ExporterPathText(Environment() / "log.nsf.activity.jsonl");
    ExpectLog("Error scanning activity stream (The program cannot interpret this file due to an "
              "invalid structure)");
    // The runtime names the file and its line, beside the library's fixed text.
    EXPECT_EQ(acme_.Diagnostics(),
              std::vector<std::string>{"0x0206: Activity stream is damaged: " + stream +
                                       ": line 3: not JSON"});
    EXPECT_EQ(Rows(), ",,u,t,,Domino.AGENT,00258EC000000001,,,,\r\n");
    ExpectHandlesReleased();
}

// A full disk (here: the file size limit) cuts a write in the middle of a row; the row is cut
// away, so that a reader never gets half a record. One row holds a quoted line feed: a cut right
// after it, or after its CR, must not pass for the end of a row. Without the 250 rows before,
// the error shows when the file is closed; with them, during the scan. (The limit cuts the
// runtime's report too.)
TEST_F(ActivityLogFailureEndToEnd, WriteErrorDuringTheScanKeepsTheCompleteRowsWritten) {
    const std::string first = ",,u,t,,Domino.AGENT,00258EC000000001,,,,\r\n";  // 42 bytes
    const std::string last =
        ",,u,t,,Domino.AGENT,00258EC000000002,,,,\r\n"        // bytes 42-83
        ",,u,\"a\r\nb\",,Domino.AGENT,00258EC000000003,,,,\r\n"  // 84-130, quoted LF at 91
        ",,u,t,,Domino.AGENT,00258EC000000004,,,,\r\n";       // 131-172
    const std::vector<std::pair<long, std::size_t>> kept = {
        {83, 42}, {84, 84}, {85, 84}, {91, 84}, {92, 84}, {93, 84}, {130, 84}, {131, 131},
        {132, 131}};
    for (const std::size_t before : {0u, 250u}) {
        std::vector<std::string> records(before + 1, Agent(1));
        records.push_back(Agent(2));
        records.push_back(Record("Domino.AGENT", "00258EC000000003",
                                 R"([["TaskName", "a\nb"], ["UserName", "u"]])"));
        records.push_back(Agent(4));
        WriteStream(records);
        std::string rows;
        for (std::size_t i = 0; i <= before; ++i) rows += first;
        rows += last;
        Run();
        ASSERT_EQ(Rows(), rows);
        const long offset = static_cast<long>(42 * before);
        for (const auto& [limit, length] : kept) {
            std::filesystem::remove(Output() / "log.txt");
            testsupport::ProcessOptions limited;
            limited.fileSizeLimit = offset + limit;
            Run({}, limited);
            ExpectLog("Error scanning activity stream (I/O data error)");
            EXPECT_EQ(Rows(), rows.substr(0, offset + length)) << before << " " << limit;
        }
    }
}

TEST_F(ActivityLogFailureEndToEnd, WriteErrorThatShowsOnlyWhenTheFileIsClosedIsReported) {
    WriteStream({Agent(1), Agent(2), Agent(3), Agent(4), Agent(5), Agent(6)});
    Run();
    const std::string all = Rows();
    testsupport::ProcessOptions limited;
    limited.fileSizeLimit = 100;  // six rows of 42 bytes: all buffered, lost only at the flush
    Run({}, limited);
    ExpectLog("Error scanning activity stream (I/O data error)");
    EXPECT_EQ(Rows(), all.substr(0, 84));
}

}  // namespace
}  // namespace logscantest
