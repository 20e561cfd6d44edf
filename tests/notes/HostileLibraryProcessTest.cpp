// The shipped program against a Notes library that answers as no library should
// (library/AlteredNotesLibrary.cpp): a count past its buffer, a lock without memory, a read that
// never ends or never moves on, records without their parts, an entry longer than itself, a
// lookup without its matches, a DXL chunk without its data. Each ends as a failure with its one
// log line or as a missing value, never as a signal, a hang, bytes from elsewhere in a file, or
// a success that is not one.
#include <gtest/gtest.h>

#include <signal.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Text.h"
#include "tests/support/AcmeRun.h"

namespace {

using testsupport::AcmeRun;
using testsupport::ProcessOptions;
using testsupport::ReadFile;
using testsupport::WriteFile;
using Lines = std::vector<std::string>;

const std::string kOlderNab = "<nab>an older export</nab>\r\n";

class HostileLibraryProcess : public testing::Test {
protected:
    void SetUp() override {
        if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "the altered library is built for Linux";
        if (testsupport::ExporterRunsInTree()) GTEST_SKIP() << "the tree has its own library";
    }

    // Runs the mode with WithChanges(changes, options); the run must end by itself with exit
    // code 0.
    void Run(const AcmeRun& run, const std::vector<std::string>& arguments,
             const std::string& changes, ProcessOptions options = {}) const {
        options.timeLimitSeconds = 60;
        EXPECT_EQ(run.Run(arguments, WithChanges(changes, options)).exitCode, 0) << changes;
    }

    // `options` with the library's answers changed as `changes` says.
    static ProcessOptions WithChanges(const std::string& changes, ProcessOptions options = {}) {
        options.environment["DXL_NOTES_LIBRARY"] = DXL_ALTERED_NOTES_LIBRARY;
        options.environment["DXL_TEST_LIBRARY_CHANGES"] = changes;
        return options;
    }
};

// Five agent records, each of which gives a row, at times 1 to 5 (or as `times` says).
std::string AgentStream(const std::vector<int>& times = {1, 2, 3, 4, 5}) {
    std::string stream;
    for (const int time : times) {
        stream += R"({"type": "Domino.AGENT", "time": "00258EC00000000)" + std::to_string(time) +
                  R"(", "items": [["TaskName", "t)" + std::to_string(time) +
                  R"("], ["UserName", "u"]]})" + "\n";
    }
    return stream;
}

std::string AgentRow(int time) {
    return ",,u,t" + std::to_string(time) + ",,Domino.AGENT,00258EC00000000" +
           std::to_string(time) + ",,,,\r\n";
}

TEST_F(HostileLibraryProcess, ViewEntriesPastTheBufferFailTheDirectoryExport) {
    for (const char* changes : {"OverCountedEntries=1", "OverCountedEntries=1000"}) {
        const AcmeRun run;
        WriteFile(run.OutputFile("nab.xml"), kOlderNab);
        Run(run, {"-nab"}, changes);
        EXPECT_EQ(run.Log(),
                  Lines{"#ERROR# - Unable to read NAB (Invalid collection data was detected.)"});
        EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab);
    }
}

TEST_F(HostileLibraryProcess, ALockWithoutMemoryFailsTheModeAndKeepsTheOlderFile) {
    const AcmeRun nab;
    WriteFile(nab.OutputFile("nab.xml"), kOlderNab);
    Run(nab, {"-nab"}, "NoMemory");
    EXPECT_EQ(nab.Log(), Lines{"#ERROR# - Unable to read NAB (Object handle is invalid)"});
    EXPECT_EQ(ReadFile(nab.OutputFile("nab.xml")), kOlderNab);

    const AcmeRun servers;
    Run(servers, {"-servers"}, "NoMemory");
    EXPECT_EQ(servers.Log(), Lines{"#ERROR# - Unable to read servers (Object handle is invalid)"});
    EXPECT_EQ(ReadFile(servers.OutputFile("servers.txt")), "");
}

// More to do, but a batch that did not move on, held no entries or came without its buffer: the
// read would go on for ever or lose entries. Batches of one entry, so that there are several.
TEST_F(HostileLibraryProcess, ABatchWithoutProgressEndsTheRead) {
    for (const char* changes : {"MoreToDoForever", "StandingStill", "EmptyBatches", "LostBuffers"}) {
        const AcmeRun run("SimViewBatch=1\n");
        WriteFile(run.OutputFile("nab.xml"), kOlderNab);
        testsupport::ProcessOptions options;
#if !defined(__SANITIZE_ADDRESS__)
        options.addressSpaceLimit = 1L << 30;  // a read that never ends must not take the machine
#endif
        Run(run, {"-nab"}, changes, options);
        EXPECT_EQ(run.Log(),
                  Lines{"#ERROR# - Unable to read NAB (Invalid collection data was detected.)"})
            << changes;
        EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab) << changes;
    }
}

TEST_F(HostileLibraryProcess, ActivityRecordsWithoutTypeTimeOrItemsGiveNoRow) {
    const AcmeRun run;
    WriteFile(run.environment() / "log.nsf.activity.jsonl", AgentStream());
    Run(run, {"-logscan"}, "UntypedRecord=2,UntimedRecord=3,RecordWithoutItems=4");
    EXPECT_EQ(run.Log(), Lines{});
    EXPECT_EQ(ReadFile(run.OutputFile("logscan.txt")), AgentRow(1) + AgentRow(5));
}

// The row limit stops the scan at the record of time 2; a library that goes on anyway gets the
// same answer for every later record, the one of time 1 included, and no row.
TEST_F(HostileLibraryProcess, AScanThatGoesOnAfterTheStopGetsNoMoreRows) {
    const AcmeRun run;
    WriteFile(run.environment() / "log.nsf.activity.jsonl", AgentStream({1, 2, 1, 3}));
    Run(run, {"-logscan", "-rowLimit", "1"}, "IgnoredStop");
    EXPECT_EQ(run.Log(), Lines{});
    EXPECT_EQ(ReadFile(run.OutputFile("logscan.txt")), AgentRow(1));
}

// The people whose name is a list (Jane Doe, Tom & Jerry, Anna Berg, Łukasz Żółć, 山田 太郎)
// lose it: nothing of what lies beyond the entry reaches nab.xml.
TEST_F(HostileLibraryProcess, AListEntryLongerThanItsEntryIsNoName) {
    const AcmeRun run;
    Run(run, {"-nab"}, "LongListEntry=650");
    EXPECT_EQ(run.Log(), Lines{});
    const std::string nab = ReadFile(run.OutputFile("nab.xml"));
    const std::string people = nab.substr(nab.find("<people>"), nab.find("</people>") - nab.find("<people>"));
    EXPECT_EQ(people,
              "<people>\r\n"
              "        <user name=\"CN=Jos\xC3\xA9 M\xC3\xBC" "ller/O=Acme\"/>\r\n"
              "        <user name=\"CN=Pat O&apos;Brien &lt;Sales&gt;/O=Acme\"/>\r\n"
              "        <user name=\"CN=John Smith/O=Acme\"/>\r\n    ");
}

TEST_F(HostileLibraryProcess, ALookupWithoutItsMatchesFailsTheServerList) {
    const AcmeRun run;
    Run(run, {"-servers"}, "NoMoreMatches");
    EXPECT_EQ(run.Log(),
              Lines{"#ERROR# - Unable to read servers (Error looking up name in Domino Directory)"});
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")), "");
}

// The program's callback fails (here: the second note does not go into the ID table) and the
// library searches on and reports success: the failure is the search's, and no catalog with a
// note left out is published.
TEST_F(HostileLibraryProcess, ASearchThatGoesOnAfterAFailedMatchFailsTheExport) {
    const AcmeRun run("SimFault=InsertIdIntoTable#2:0x0459\n");
    Run(run, {"-catalog", "-s", "Hub01/Acme"}, "IgnoredSearchFailure");
    EXPECT_EQ(run.Log(), Lines{"#ERROR# - Unable to read catalog (Unable to extend an ID table - "
                               "insufficient memory.)"});
    EXPECT_FALSE(std::filesystem::exists(run.OutputFile("catalog.dxl")));
}

// A chunk counted but not handed over would leave a gap in the DXL: the export fails and no
// catalog file is published, whichever chunk it is.
TEST_F(HostileLibraryProcess, ADxlChunkWithoutItsDataFailsTheExport) {
    for (const char* changes : {"DataLessDxlChunk=1", "DataLessDxlChunk=3"}) {
        const AcmeRun run("SimDxlChunk=7\n");
        Run(run, {"-catalog", "-s", "Hub01/Acme", "-debug"}, changes);
        EXPECT_EQ(run.Log(),
                  (Lines{"#DEBUG# - The DXL exporter handed over a chunk of 7 bytes without its data",
                         "#DEBUG# - DXL export of 4 notes: 4 note-open hook calls",
                         "#ERROR# - Unable to read catalog (I/O data error)"}))
            << changes;
        EXPECT_FALSE(std::filesystem::exists(run.OutputFile("catalog.dxl"))) << changes;
        EXPECT_FALSE(std::filesystem::exists(run.OutputFile("temp.tmp"))) << changes;
    }
}

// A library call that never returns keeps the run from the place where it would take up a stop
// request: the second request ends the run at once, by its signal, with nothing written.
TEST_F(HostileLibraryProcess, ASecondStopRequestEndsTheRunAtOnce) {
    for (const int signal : {SIGTERM, SIGINT}) {
        const AcmeRun run;
        const std::filesystem::path waiting = run.scratch() / "waiting";
        ProcessOptions options = WithChanges("EndlessOpen");
        options.environment["DXL_TEST_LIBRARY_MARKER"] = waiting.string();
        options.timeLimitSeconds = 20;  // a run the second request does not end gets SIGALRM
        options.whileRunning = testsupport::SignalOnceWritten(waiting, {signal, signal});
        EXPECT_EQ(run.Run({"-catalog", "-s", "Hub01/Acme"}, options).exitCode, 128 + signal);
        EXPECT_EQ(run.Log(), Lines{}) << signal;
        EXPECT_FALSE(std::filesystem::exists(run.OutputFile("catalog.dxl")));
    }
}

// Whatever bytes the library's message texts hold, every line of the run log is UTF-8.
TEST_F(HostileLibraryProcess, AMessageTextOfStrayBytesStillGivesAUtf8Line) {
    const AcmeRun run;
    Run(run, {"-catalog", "-s", "Nowhere/Acme"}, "StrayStatusText");
    const Lines log = run.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("#ERROR# - Unable to read catalog (", 0), 0u) << log[0];
    std::size_t at = 0;
    while (at < log[0].size()) ASSERT_TRUE(platform::DecodeUtf8(log[0], at)) << log[0];
}

}  // namespace
