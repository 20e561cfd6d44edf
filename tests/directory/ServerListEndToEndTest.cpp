// The -servers mode from end to end: servers.txt of the sample environment and its failures.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/directory/DirectoryEdit.h"
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

TEST(ServerListEndToEnd, SampleEnvironmentGivesSortedUniqueNames) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")), kAcmeServers);
    EXPECT_EQ(run.Log(), std::vector<std::string>{});
    run.ExpectEveryHandleReleased();
}

TEST(ServerListEndToEnd, EmptyMailServerNameIsTheFirstEmptyLine) {
    // The second lookup then reads the local directory, whose empty ServerName is skipped.
    const AcmeRun run("", "");
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")),
              "\r\nHub01/Acme\r\nMail01/Acme\r\nRelay01/Edge/Acme\r\nhub01/Acme\r\n");
}

TEST(ServerListEndToEnd, MissingMailServerSettingIsReportedWithTheRuntimeText) {
    const AcmeRun run("", nullptr);
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    ExpectEmptyListAnd(run, ErrorLine("No mail server or mail database name specified"));
}

TEST(ServerListEndToEnd, RunningOutOfMemoryLoadingTheDirectoryIsTheModesFailure) {
    const AcmeRun run("SimMemoryLimit=1\n");
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    ExpectEmptyListAnd(run, "#ERROR# - Unable to read servers (Insufficient memory.)");
    run.ExpectEveryHandleReleased();
}

TEST(ServerListEndToEnd, FailedWriteIsReportedNotPassedOffAsSuccess) {
    const AcmeRun run;
    testsupport::ProcessOptions options;
    options.fileSizeLimit = 60;  // the list needs 72 bytes; the error line fits
    ASSERT_EQ(run.Run({"-servers"}, options).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine("I/O data error")});
    // The line the limit cut through is cut away: no half name is left.
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")), "Apps01/Srv/Acme\r\nHub01/Acme\r\nMail01/Acme\r\n");
}

// A name buffer holds 255 bytes and its terminator: a name of 255 bytes is listed; one longer,
// which the library would cut into another name, fails the list, although its abbreviation
// would fit.
TEST(ServerListEndToEnd, NamesFillTheirBuffersButNeverPassThem) {
    const auto canonical = [](std::size_t length, char c) {
        return "CN=" + std::string(length - 10, c) + "/O=Acme";
    };
    for (const std::size_t length : {255u, 256u}) {
        SCOPED_TRACE(length);
        const AcmeRun run;
        directorytest::EditDirectory(run, [&](nlohmann::json& names) {
            directorytest::NoteItems(names, 216).push_back({"Destination", canonical(length, 'x')});
        });
        ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
        if (length == 255) {
            EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")),
                      kAcmeServers + std::string(245, 'x') + "/Acme\r\n");
            EXPECT_EQ(run.Log(), std::vector<std::string>{});
        } else {
            ExpectEmptyListAnd(run, ErrorLine("Name too long"));
        }
    }
    const AcmeRun longMailServer("", canonical(256, 'm').c_str());
    ASSERT_EQ(longMailServer.Run({"-servers"}).exitCode, 0);
    ExpectEmptyListAnd(longMailServer, ErrorLine("Name too long"));
}

TEST(ServerListEndToEnd, OutputFileThatCannotBeOpenedIsReportedWithoutSession) {
    const AcmeRun run;
    std::filesystem::create_directory(run.OutputFile("servers.txt"));
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{"#ERROR# - Unable to open output file"});
}

}  // namespace
