// nab.xml takes its place only as the complete file this run made, wrote and synced: each check
// is made to fail by system-call faults injected into the shipped program (tests/faultinjection),
// and a file planted under the staging name is never written through.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/directory/DirectoryEdit.h"
#include "tests/directory/ExpectedNab.h"
#include "tests/support/AcmeRun.h"

namespace {

using testsupport::AcmeRun;
using testsupport::ReadFile;
using testsupport::WriteFile;
using Faults = std::map<std::string, std::string>;

const std::string kOlderNab = "<nab>an older export</nab>\r\n";
const std::string kIoErrorLine = "#ERROR# - Unable to read NAB (I/O data error)";

class NabPublishProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "LD_PRELOAD of a Linux library";
    }

    static testsupport::ProcessResult Run(const AcmeRun& run, const Faults& faults) {
        testsupport::ProcessOptions options;
        options.environment = testsupport::FaultInjection(faults);
        return run.Run({"-nab"}, options);
    }

    // One error line, the older nab.xml whole, no staging file left.
    static void ExpectNothingPublished(const AcmeRun& run, const std::string& line,
                                       const std::string& what) {
        EXPECT_EQ(run.Log(), std::vector<std::string>{line}) << what;
        EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), kOlderNab) << what;
        EXPECT_FALSE(std::filesystem::exists(run.OutputFile("nab.xml.tmp"))) << what;
    }
};

TEST_F(NabPublishProcess, EachCheckBeforePublishingStopsABadFile) {
    // The staging file is opened twice: to be written, and to be checked before the rename.
    const std::vector<std::pair<Faults, std::string>> faults = {
        {{{"CALL", "write"}, {"PATH", "nab.xml.tmp"}, {"ERRNO", "ENOSPC"}}, kIoErrorLine},
        {{{"CALL", "fsync"}, {"PATH", "nab.xml.tmp"}}, kIoErrorLine},
        {{{"CALL", "fstat"}, {"PATH", "nab.xml.tmp"}, {"AT", "2"}}, kIoErrorLine},
        // Another file of the same size takes the name: only the identity tells.
        {{{"CALL", "open"}, {"PATH", "nab.xml.tmp"}, {"AT", "2"}, {"ACTION", "swap"}},
         kIoErrorLine},
        // The same file, emptied: only the size tells.
        {{{"CALL", "open"}, {"PATH", "nab.xml.tmp"}, {"AT", "2"}, {"ACTION", "truncate"}},
         kIoErrorLine},
        {{{"CALL", "rename"}, {"PATH", "nab.xml"}},
         "#ERROR# - Unable to read NAB (File cannot be created)"},
    };
    for (const auto& [fault, line] : faults) {
        const AcmeRun run;
        WriteFile(run.OutputFile("nab.xml"), kOlderNab);
        EXPECT_EQ(Run(run, fault).exitCode, 0);
        ExpectNothingPublished(run, line, fault.at("CALL") + " " + fault.at("PATH"));
    }
}

// Emptied by someone else while it is written: what the run writes after that lands at the new
// end, never behind a gap of NUL bytes, so the size shows the loss.
TEST_F(NabPublishProcess, AStagingFileTruncatedWhileWrittenIsNotPublished) {
    const AcmeRun run;
    directorytest::EditDirectory(run, [](nlohmann::json& names) {
        using Json = nlohmann::json;
        for (int i = 0; i < 500; ++i) {
            const std::string name = "CN=Person " + std::to_string(i) + " With A Long Name/O=Acme";
            names["views"]["($People)|People"].push_back(1000 + 4 * i);
            names["notes"].push_back(
                {{"id", 1000 + 4 * i},
                 {"items", Json::array({Json::array({"Form", "Person"}),
                                        Json::array({"FullName", name})})}});
        }
    });
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    ASSERT_GT(ReadFile(run.OutputFile("nab.xml")).size(), 3 * 8192u) << "written in one piece";

    WriteFile(run.OutputFile("nab.xml"), kOlderNab);
    EXPECT_EQ(Run(run, {{"CALL", "write"}, {"PATH", "nab.xml.tmp"}, {"AT", "2"},
                        {"ACTION", "truncate"}})
                  .exitCode,
              0);
    ExpectNothingPublished(run, kIoErrorLine, "truncated");
}

TEST_F(NabPublishProcess, AHardLinkPlantedUnderTheStagingNameIsNeverWrittenThrough) {
    const AcmeRun run;
    const testsupport::ScratchDir elsewhere;
    const std::string outsideText = "a file outside the output folder\n";
    WriteFile(elsewhere / "outside.txt", outsideText);
    std::filesystem::create_hard_link(elsewhere / "outside.txt", run.OutputFile("nab.xml.tmp"));
    EXPECT_EQ(run.Run({"-nab"}).exitCode, 0);
    EXPECT_EQ(ReadFile(elsewhere / "outside.txt"), outsideText);
    EXPECT_EQ(run.Log(), std::vector<std::string>{});
    EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")),
              testsupport::ExpectedNabXml(run.environment() / "names.nsf"));
    EXPECT_FALSE(std::filesystem::exists(run.OutputFile("nab.xml.tmp")));
}

}  // namespace
