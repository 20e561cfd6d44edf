// catalog.dxl takes its name only as the complete file this run wrote and synced, and never in
// place of another file: each check is made to fail by system-call faults injected into the
// shipped program (tests/faultinjection), also on file systems without hard links.
#include <gtest/gtest.h>
#include <signal.h>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using testsupport::AcmeRun;
using testsupport::ReadFile;
using Faults = std::map<std::string, std::string>;

const std::vector<std::string> kArguments = {"-catalog", "-s", "Hub01/Acme"};
const std::string kIoErrorLine = "#ERROR# - Unable to read catalog (I/O data error)";
const std::string kOlderCatalog = "<catalog>an older export</catalog>\r\n";

class CatalogPublishProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "LD_PRELOAD of a Linux library";
        catalogtest::WriteBigCatalog(run, 100);
    }

    testsupport::ProcessResult Run(const Faults& faults,
                                   const std::vector<std::string>& arguments = kArguments) const {
        testsupport::ProcessOptions options;
        options.environment = testsupport::FaultInjection(faults);
        return run.Run(arguments, options);
    }

    // How many calls `faults` counts in a run that goes well.
    int CountCalls(Faults faults) const {
        const testsupport::ScratchDir counts;
        faults["AT"] = "1000000";
        faults["COUNT_FILE"] = (counts / "count").string();
        EXPECT_EQ(Run(faults).exitCode, 0);
        std::filesystem::remove(run.output() / "catalog.dxl");
        return std::stoi(ReadFile(counts / "count"));
    }

    void ExpectNothingPublished(const std::string& what) const {
        EXPECT_EQ(run.Log(), std::vector<std::string>{kIoErrorLine}) << what;
        EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl")) << what;
        EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp")) << what;
        std::filesystem::remove(run.output() / "log.txt");
    }

    const AcmeRun run{"SimDxlChunk=2000\n"};
};

TEST_F(CatalogPublishProcess, EachCheckBeforePublishingStopsABadFile) {
    // The check before the move opens temp.tmp last of all.
    const int opens = CountCalls({{"CALL", "open"}, {"PATH", "temp.tmp"}});
    ASSERT_GT(opens, 2);
    const std::string lastOpen = std::to_string(opens);
    const std::vector<Faults> faults = {
        {{"CALL", "write"}, {"PATH", "temp.tmp"}, {"AT", "3"}, {"ERRNO", "ENOSPC"}},
        {{"CALL", "fsync"}, {"PATH", "temp.tmp"}},
        // Another file of the same size takes the name: only the identity tells.
        {{"CALL", "open"}, {"PATH", "temp.tmp"}, {"AT", lastOpen}, {"ACTION", "swap"}},
        // The same file, emptied: only the size tells.
        {{"CALL", "open"}, {"PATH", "temp.tmp"}, {"AT", lastOpen}, {"ACTION", "truncate"}},
        // Swapped between the move and the check after it.
        {{"CALL", "open"}, {"PATH", "catalog.dxl"}, {"ACTION", "swap"}},
    };
    for (const Faults& fault : faults) {
        const std::string what = fault.at("CALL") + " " + fault.at("PATH");
        EXPECT_EQ(Run(fault).exitCode, 0) << what;
        ExpectNothingPublished(what);
    }
}

// vfat, exFAT and many SMB mounts have no hard links: the file is renamed into place instead,
// by a rename that refuses an existing target, or, where there is none, after a look for it.
TEST_F(CatalogPublishProcess, WithoutHardLinksTheFileIsRenamedButNeverReplaces) {
    ASSERT_EQ(run.Run(kArguments).exitCode, 0);
    const std::string expected = ReadFile(run.output() / "catalog.dxl");
    const std::vector<Faults> fileSystems = {
        {{"CALL", "link"}, {"ERRNO", "EPERM"}, {"TIMES", "0"}},
        {{"CALL", "link,renameat2"}, {"ERRNO", "EPERM,EINVAL"}, {"TIMES", "0"}},
        {{"CALL", "link,renameat2"}, {"ERRNO", "EOPNOTSUPP,ENOSYS"}, {"TIMES", "0"}},
    };
    for (const Faults& fileSystem : fileSystems) {
        const std::string what = fileSystem.at("CALL") + " " + fileSystem.at("ERRNO");
        std::filesystem::remove(run.output() / "catalog.dxl");
        EXPECT_EQ(Run(fileSystem).exitCode, 0) << what;
        EXPECT_EQ(run.Log(), std::vector<std::string>{}) << what;
        EXPECT_EQ(ReadFile(run.output() / "catalog.dxl"), expected) << what;
        EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp")) << what;
    }
    // An older file stays, whichever way the move goes.
    for (const Faults& fileSystem : {fileSystems[0], fileSystems[1]}) {
        const std::string what = fileSystem.at("CALL");
        testsupport::WriteFile(run.output() / "catalog.dxl", kOlderCatalog);
        EXPECT_EQ(Run(fileSystem).exitCode, 0) << what;
        const std::vector<std::string> log = {
            "#WARNING# - Unable to move DXL file into place (tried retry)",
            "#ERROR# - Unable to read catalog (File cannot be created)"};
        EXPECT_EQ(run.Log(), log) << what;
        EXPECT_EQ(ReadFile(run.output() / "catalog.dxl"), kOlderCatalog) << what;
        EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp")) << what;
        std::filesystem::remove(run.output() / "log.txt");
    }
}

// An append-only folder (chattr +a) takes a new name but lets no name go: the complete file has
// its final name, so the export is done, and the temporary name that stays is a debug line. The
// next export cannot clear temp.tmp and says so.
TEST_F(CatalogPublishProcess, AFileMovedIntoPlaceIsPublishedThoughItsOldNameStays) {
    ASSERT_EQ(run.Run(kArguments).exitCode, 0);
    const std::string expected = ReadFile(run.output() / "catalog.dxl");
    std::filesystem::remove(run.output() / "catalog.dxl");
    // The first unlink of temp.tmp is the clearing before the export, which finds nothing.
    const Faults appendOnly = {
        {"CALL", "unlink"}, {"PATH", "temp.tmp"}, {"AT", "2"}, {"TIMES", "0"}, {"ERRNO", "EPERM"}};
    std::vector<std::string> arguments = kArguments;
    arguments.push_back("-debug");
    EXPECT_EQ(Run(appendOnly, arguments).exitCode, 0);
    EXPECT_EQ(ReadFile(run.output() / "catalog.dxl"), expected);
    EXPECT_EQ(ReadFile(run.output() / "temp.tmp"), expected);
    const std::vector<std::string> log = run.Log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{
                  "#DEBUG# - Unable to remove temp.tmp after moving it into place",
                  "#DEBUG# - unlink(temp.tmp): Operation not permitted"}));
    std::filesystem::remove(run.output() / "log.txt");

    std::filesystem::remove(run.output() / "catalog.dxl");
    const Faults undeletable = {
        {"CALL", "unlink"}, {"PATH", "temp.tmp"}, {"TIMES", "0"}, {"ERRNO", "EPERM"}};
    EXPECT_EQ(Run(undeletable).exitCode, 0);
    EXPECT_EQ(run.Log(), (std::vector<std::string>{
                             "#WARNING# - Unable to delete DXL temporary file (tried retry)",
                             "#ERROR# - Unable to read catalog (File already exists)"}));
    EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl"));
}

// A stop requested while the export writes temp.tmp: nothing is published, nothing is left.
TEST_F(CatalogPublishProcess, AStopRequestLeavesNeitherTheFileNorItsTemporaryFile) {
    const AcmeRun slow{"SimDxlChunk=20\n"};
    catalogtest::WriteBigCatalog(slow, 400);
    testsupport::ProcessOptions options;
    const std::filesystem::path temporary = slow.output() / "temp.tmp";
    options.whileRunning = testsupport::SignalOnceWritten(temporary, {SIGTERM});
    EXPECT_EQ(slow.Run(kArguments, options).exitCode, 128 + SIGTERM);
    EXPECT_EQ(slow.Log(), std::vector<std::string>{"#ERROR# - Run stopped on request"});
    EXPECT_FALSE(std::filesystem::exists(slow.output() / "catalog.dxl"));
    EXPECT_FALSE(std::filesystem::exists(temporary));
    slow.ExpectEveryHandleReleased();
}

}  // namespace
