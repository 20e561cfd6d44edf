// The -servers mode from end to end: servers.txt of the sample environment and its failures.
#include <gtest/gtest.h>

#include "notes/NotesStatuses.h"
#include "tests/support/AcmeRun.h"

namespace {

using testsupport::AcmeRun;
using testsupport::ReadFile;

std::string ErrorLine(const std::string& reason) {
    return "#ERROR# - Unable to read servers (" + reason + ")";
}

// Nothing written: the file exists and is empty, with one error line.
void ExpectEmptyListAnd(const AcmeRun& run, const std::string& line) {
    EXPECT_TRUE(std::filesystem::is_regular_file(run.OutputFile("servers.txt")));
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")), "");
    EXPECT_EQ(run.Log(), std::vector<std::string>{line});
}

// From the mail server setting, the local connection documents and the mail server's
// directory: abbreviated, in byte order (upper case first), each once, case variants kept.
const std::string kAcmeServers =
    "Apps01/Srv/Acme\r\nHub01/Acme\r\nMail01/Acme\r\nRelay01/Edge/Acme\r\nhub01/Acme\r\n";

TEST(ServerList, SampleEnvironmentGivesSortedUniqueNames) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")), kAcmeServers);
    EXPECT_EQ(run.Log(), std::vector<std::string>{});
    run.ExpectEveryHandleReleased();
}

TEST(ServerList, EmptyMailServerNameIsTheFirstEmptyLine) {
    // The second lookup then reads the local directory, whose empty ServerName is skipped.
    const AcmeRun run("", "");
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")),
              "\r\nHub01/Acme\r\nMail01/Acme\r\nRelay01/Edge/Acme\r\nhub01/Acme\r\n");
}

TEST(ServerList, MissingMailServerSettingIsReportedWithTheRuntimeText) {
    const AcmeRun run("", nullptr);
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    ExpectEmptyListAnd(run, ErrorLine("No mail server or mail database name specified"));
}

TEST(ServerList, RunningOutOfMemoryLoadingTheDirectoryIsTheModesFailure) {
    const AcmeRun run("SimMemoryLimit=1\n");
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    ExpectEmptyListAnd(run, "#ERROR# - Unable to read servers (Insufficient memory.)");
    run.ExpectEveryHandleReleased();
}

TEST(ServerList, FailedWriteIsReportedNotPassedOffAsSuccess) {
    const AcmeRun run;
    testsupport::ProcessOptions options;
    options.fileSizeLimit = 60;  // the list needs 72 bytes; the error line fits
    ASSERT_EQ(run.Run({"-servers"}, options).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine("I/O data error")});
    // The line the limit cut through is cut away: no half name is left.
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")), "Apps01/Srv/Acme\r\nHub01/Acme\r\nMail01/Acme\r\n");
}

TEST(ServerList, OutputFileThatCannotBeOpenedIsReportedWithoutSession) {
    const AcmeRun run;
    std::filesystem::create_directory(run.OutputFile("servers.txt"));
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{"#ERROR# - Unable to open output file"});
}

}  // namespace
