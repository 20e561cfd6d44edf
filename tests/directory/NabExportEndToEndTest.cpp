// The -nab mode from end to end: nab.xml of the sample directory, and what a failure leaves.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/directory/DirectoryEdit.h"
#include "tests/directory/ExpectedNab.h"
#include "tests/support/AcmeRun.h"

namespace {

using directorytest::EditDirectory;
using testsupport::AcmeRun;
using testsupport::ReadFile;
using testsupport::WriteFile;

const std::string kOlderNab = "<nab>an older export</nab>\r\n";

std::string ErrorLine(const std::string& reason) {
    return "#ERROR# - Unable to read NAB (" + reason + ")";
}

// The run failed: one error line, an older nab.xml whole, no staging file left behind.
void ExpectFailedExport(const AcmeRun& run, const std::string& line) {
    EXPECT_EQ(run.Log(), std::vector<std::string>{line});
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab);
    EXPECT_FALSE(std::filesystem::is_regular_file(run.OutputFile("nab.xml.tmp")));
}

TEST(NabExportEndToEnd, SampleDirectoryGivesTheExpectedBytesInAnyBatchSize) {
    for (const std::string batch : {"1", "2", "500"}) {
        SCOPED_TRACE("SimViewBatch=" + batch);
        const AcmeRun run("SimViewBatch=" + batch + "\n");
        ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
        const std::string nab = ReadFile(run.OutputFile("nab.xml"));
        EXPECT_EQ(nab, testsupport::ExpectedNabXml(run.environment() / "names.nsf"));
        EXPECT_EQ(run.Log(), std::vector<std::string>{});
        run.ExpectEveryHandleReleased();
        // The expected bytes hold what the sample is there to show.
        for (const char* line :
             {"        <user name=\"CN=Tom &amp; Jerry/O=Acme\"/>\r\n",
              "        <user name=\"CN=Anna &quot;Nan&quot; Berg/O=Acme\"/>\r\n",
              "        <user name=\"CN=Pat O&apos;Brien &lt;Sales&gt;/O=Acme\"/>\r\n",
              "        <user name=\"CN=Jos\xC3\xA9 M\xC3\xBCller/O=Acme\"/>\r\n",
              "        <server name=\"\"/>\r\n"}) {
            EXPECT_NE(nab.find(line), std::string::npos) << line;
        }
    }
}

TEST(NabExportEndToEnd, NamedServerIsReadFromItsOwnDirectory) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-nab", "-s", "Mail01/Acme"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")),
              testsupport::ExpectedNabXml(run.environment() / "mail01" / "names.nsf"));
}

// nab.xml is copied from its temporary document 64 KB at a time: 2000 more people pass that.
TEST(NabExportEndToEnd, ADirectoryLargerThanTheCopyChunkIsWrittenWhole) {
    const AcmeRun run;
    EditDirectory(run, [](nlohmann::json& names) {
        for (int id = 100000; id < 108000; id += 4) {
            const auto item = nlohmann::json::array({"FullName", "CN=P" + std::to_string(id)});
            names["notes"].push_back({{"id", id}, {"items", nlohmann::json::array({item})}});
            names["views"]["($People)|People"].push_back(id);
        }
    });
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    const std::string nab = ReadFile(run.OutputFile("nab.xml"));
    EXPECT_GT(nab.size(), 65536u);
    EXPECT_EQ(nab, testsupport::ExpectedNabXml(run.environment() / "names.nsf"));
}

TEST(NabExportEndToEnd, EmptyPeopleViewGivesAnEmptyPeopleElement) {
    const AcmeRun run;
    EditDirectory(run, [](nlohmann::json& names) {
        names["views"]["($People)|People"] = nlohmann::json::array({{{"category", "A"}}});
    });
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    const std::string nab = ReadFile(run.OutputFile("nab.xml"));
    EXPECT_EQ(nab, testsupport::ExpectedNabXml(run.environment() / "names.nsf"));
    EXPECT_NE(nab.find("<nab>\r\n    <people/>\r\n    <servers>\r\n"), std::string::npos);
}

// Without an older nab.xml the fault sweep shows that none is left.
TEST(NabExportEndToEnd, FailedSecondBatchLeavesAnOlderNabWhole) {
    // ERR_UNSUPPORTED_FLAGS, one of the statuses of NIFReadEntries.
    const AcmeRun run("SimViewBatch=2\nSimFault=ReadViewEntries#2:0x0306\n");
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    ExpectFailedExport(run, ErrorLine("Unsupported return flag(s)"));
    run.ExpectEveryHandleReleased();
}

// The library runs out of memory loading the directory: the mode's failure with its text.
TEST(NabExportEndToEnd, RunningOutOfMemoryIsTheModesFailure) {
    const AcmeRun run("SimMemoryLimit=1\n");
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    ExpectFailedExport(run, "#ERROR# - Unable to read NAB (Insufficient memory.)");
    run.ExpectEveryHandleReleased();
}

TEST(NabExportEndToEnd, MissingServersViewFailsAlthoughThePeopleWereRead) {
    const AcmeRun run;
    EditDirectory(run, [](nlohmann::json& names) { names["views"].erase("($Servers)|Servers"); });
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{ErrorLine("Entry not found in index")});
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab);
    run.ExpectEveryHandleReleased();
}

TEST(NabExportEndToEnd, TemporaryFileThatCannotBeCreatedIsReported) {
    if (testsupport::ExporterIsWindows()) {
        // Wine takes a program's TMP and TEMP from its prefix's registry, never from the caller,
        // and TMPDIR would move the Wine server's own socket.
        GTEST_SKIP() << "the temporary folder of the Windows build cannot be set per run";
    }
    const AcmeRun run;
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    testsupport::ProcessOptions options;
    options.environment["TMPDIR"] = (run.output() / "no such folder").string();
    ASSERT_EQ(run.Run({"-nab"}, options).exitCode, 0);
    ExpectFailedExport(run, ErrorLine("File cannot be created"));
    run.ExpectEveryHandleReleased();
}

TEST(NabExportEndToEnd, NabFileThatCannotBeCreatedIsReported) {
    const AcmeRun run;
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    std::filesystem::create_directory(run.OutputFile("nab.xml.tmp"));  // in the way
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{
                             ErrorLine("File cannot be created")});
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab);
}

TEST(NabExportEndToEnd, CopyThatFailsMidwayLeavesTheOlderNabWhole) {
    const AcmeRun run;
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    const std::string expected = testsupport::ExpectedNabXml(run.environment() / "names.nsf");
    // The temporary document (LF only) fits; nab.xml with its CR LF line ends does not.
    testsupport::ProcessOptions options;
    options.fileSizeLimit = static_cast<long>(expected.size()) - 10;
    ASSERT_EQ(run.Run({"-nab"}, options).exitCode, 0);
    ExpectFailedExport(run, ErrorLine("I/O data error"));
}

}  // namespace
