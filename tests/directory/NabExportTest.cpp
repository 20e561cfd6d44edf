// The -nab mode from end to end: nab.xml of the sample directory, and what a failure leaves.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <nlohmann/json.hpp>

#include "notessim/Statuses.h"
#include "tests/directory/ExpectedNab.h"
#include "tests/directory/ExporterRun.h"

namespace {

using testsupport::AcmeRun;
using testsupport::ReadFile;
using testsupport::WriteFile;

const std::string kOlderNab = "<nab>an older export</nab>\r\n";

std::string ErrorLine(const std::string& format, notes::NotesStatus status) {
    return "#ERROR# - " + format + " (" + notessim::StatusText(status & notes::kStatusMask) + ")";
}

void EditDirectory(const AcmeRun& run, void (*edit)(nlohmann::json&)) {
    auto names = nlohmann::json::parse(ReadFile(run.environment() / "names.nsf"));
    edit(names);
    WriteFile(run.environment() / "names.nsf", names.dump(1));
}

// The run failed: one error line, an older nab.xml whole, no staging file left behind.
void ExpectFailedExport(const AcmeRun& run, const std::string& line) {
    EXPECT_EQ(run.Log(), std::vector<std::string>{line});
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab);
    EXPECT_FALSE(std::filesystem::is_regular_file(run.OutputFile("nab.xml.tmp")));
}

TEST(NabExport, SampleDirectoryGivesTheExpectedBytesInAnyBatchSize) {
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

TEST(NabExport, DocumentParsesWithTheNamesOfThePeopleAndServers) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(ReadFile(run.OutputFile("nab.xml")).c_str()), tinyxml2::XML_SUCCESS);
    const tinyxml2::XMLElement* people = document.RootElement()->FirstChildElement("people");
    std::vector<std::string> users;
    for (auto* user = people->FirstChildElement("user"); user; user = user->NextSiblingElement()) {
        users.push_back(user->Attribute("name"));
    }
    EXPECT_EQ(users.size(), 8u);  // ten persons; one without FullName, one with an empty list
    EXPECT_EQ(users[0], "CN=Anna \"Nan\" Berg/O=Acme");  // the first entry of a list
    EXPECT_EQ(users[2], "CN=Tom & Jerry/O=Acme");
    EXPECT_EQ(users[7], "CN=\xE5\xB1\xB1\xE7\x94\xB0 \xE5\xA4\xAA\xE9\x83\x8E/O=Acme");
    EXPECT_STREQ(document.RootElement()->FirstChildElement("servers")->FirstChildElement()
                     ->Attribute("name"),
                 "CN=Hub01/O=Acme");
}

TEST(NabExport, NamedServerIsReadFromItsOwnDirectory) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-nab", "-s", "Mail01/Acme"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")),
              testsupport::ExpectedNabXml(run.environment() / "mail01" / "names.nsf"));
}

TEST(NabExport, EmptyPeopleViewGivesAnEmptyPeopleElement) {
    const AcmeRun run;
    EditDirectory(run, [](nlohmann::json& names) {
        names["views"]["($People)|People"] = nlohmann::json::array({{{"category", "A"}}});
    });
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    const std::string nab = ReadFile(run.OutputFile("nab.xml"));
    EXPECT_EQ(nab, testsupport::ExpectedNabXml(run.environment() / "names.nsf"));
    EXPECT_NE(nab.find("<nab>\r\n    <people/>\r\n    <servers>\r\n"), std::string::npos);
}

TEST(NabExport, FailedSecondBatchLeavesNoNabAndAnOlderOneWhole) {
    for (const bool older : {false, true}) {
        const AcmeRun run("SimViewBatch=2\nSimFault=ReadViewEntries#2:0x0123\n");
        if (older) WriteFile(run.OutputFile("nab.xml"), kOlderNab);
        ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
        if (older) {
            ExpectFailedExport(run, ErrorLine("Unable to read NAB", 0x0123));
        } else {
            EXPECT_FALSE(std::filesystem::exists(run.OutputFile("nab.xml")));
        }
        run.ExpectEveryHandleReleased();
    }
}

// The library runs out of memory loading the directory: the mode's failure with its text.
TEST(NabExport, RunningOutOfMemoryIsTheModesFailure) {
    const AcmeRun run("SimMemoryLimit=1\n");
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    ExpectFailedExport(run, "#ERROR# - Unable to read NAB (Insufficient memory.)");
    run.ExpectEveryHandleReleased();
}

TEST(NabExport, MissingServersViewFailsAlthoughThePeopleWereRead) {
    const AcmeRun run;
    EditDirectory(run, [](nlohmann::json& names) { names["views"].erase("($Servers)|Servers"); });
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    const std::vector<std::string> log = run.Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("#ERROR# - Unable to read NAB (Cannot find the specified view: ($Servers)", 0),
              0u) << log[0];
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab);
    run.ExpectEveryHandleReleased();
}

TEST(NabExport, TemporaryFileThatCannotBeCreatedIsReported) {
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
    ExpectFailedExport(run, ErrorLine("Unable to read NAB", notes::kStatusCannotCreateFile));
    run.ExpectEveryHandleReleased();
}

TEST(NabExport, NabFileThatCannotBeCreatedIsReported) {
    const AcmeRun run;
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    std::filesystem::create_directory(run.OutputFile("nab.xml.tmp"));  // in the way
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{
                             ErrorLine("Unable to read NAB", notes::kStatusCannotCreateFile)});
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab);
}

TEST(NabExport, CopyThatFailsMidwayLeavesTheOlderNabWhole) {
    const AcmeRun run;
    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    const std::string expected = testsupport::ExpectedNabXml(run.environment() / "names.nsf");
    // The temporary document (LF only) fits; nab.xml with its CR LF line ends does not.
    testsupport::ProcessOptions options;
    options.fileSizeLimit = static_cast<long>(expected.size()) - 10;
    ASSERT_EQ(run.Run({"-nab"}, options).exitCode, 0);
    ExpectFailedExport(run, ErrorLine("Unable to read NAB", notes::kStatusIoError));
}

}  // namespace
