// Every failure point of the catalog modes, injected into the runtime of the real program: the
// failing status reaches the run log, the files stay as they must, and no handle stays open.
#include <gtest/gtest.h>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using catalogtest::AcmeRun;
using testsupport::ReadFile;
using testsupport::WriteFile;

const std::string kFaultLine = "#ERROR# - Unable to read catalog (Unknown status 0x0ABC (2748))";

struct FaultCase {
    std::string fault;    // SimFault target: Operation or Operation#N
    bool exportRan;       // a DXL export began, so the stale temporary file is gone
    bool catalogWritten;
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.fault; }

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) {
    std::string name = info.param.fault;
    for (char& c : name) {
        if (c == '#') c = '_';
    }
    return name;
}

class FaultTest : public ::testing::TestWithParam<FaultCase> {
protected:
    // Runs the mode with the fault and a stale temporary file in the output folder.
    void RunWithFault(const std::vector<std::string>& arguments) {
        run = std::make_unique<AcmeRun>("SimFault=" + GetParam().fault + ":0x0ABC\n");
        WriteFile(run->Output() / "temp.tmp", "stale");
        ASSERT_EQ(run->Run(arguments).exitCode, 0);
        EXPECT_EQ(run->Log(), std::vector<std::string>{kFaultLine});
        EXPECT_EQ(std::filesystem::exists(run->Output() / "temp.tmp"), !GetParam().exportRan);
        EXPECT_EQ(std::filesystem::exists(run->Output() / "catalog.dxl"),
                  GetParam().catalogWritten);
        EXPECT_FALSE(std::filesystem::exists(run->Output() / "anonMap.dxl"));
        run->ExpectEverythingReleased();
    }

    std::unique_ptr<AcmeRun> run;
};

using ServerCatalogFaultTest = FaultTest;

TEST_P(ServerCatalogFaultTest, FailsWithTheStatusAndReleasesEverything) {
    RunWithFault({"-catalog", "-s", "Hub01/Acme"});
}

INSTANTIATE_TEST_SUITE_P(EveryStep, ServerCatalogFaultTest,
                         ::testing::Values(FaultCase{"BuildNetworkPath", false, false},
                                           FaultCase{"OpenDatabase", false, false},
                                           FaultCase{"GetDatabasePath", false, false},
                                           FaultCase{"CompileFormula", false, false},
                                           FaultCase{"CreateIdTable", false, false},
                                           FaultCase{"SearchDatabase", false, false},
                                           FaultCase{"InsertIdIntoTable#2", false, false},
                                           FaultCase{"CreateDxlExporter", false, false},
                                           FaultCase{"CreateHookRecursionId", false, false},
                                           FaultCase{"RegisterNoteOpenHook", false, false},
                                           FaultCase{"ExportIdTableAsDxl", true, false}),
                         CaseName);

using FullCatalogFaultTest = FaultTest;

TEST_P(FullCatalogFaultTest, FailsWithTheStatusAndReleasesEverything) {
    RunWithFault({"-brenvik", "-p", "acme-catalog.nsf"});
}

INSTANTIATE_TEST_SUITE_P(EveryStep, FullCatalogFaultTest,
                         ::testing::Values(FaultCase{"BuildNetworkPath", false, false},
                                           FaultCase{"OpenDatabase", false, false},
                                           FaultCase{"CreateDxlExporter", false, false},
                                           FaultCase{"CreateHookRecursionId", false, false},
                                           FaultCase{"RegisterNoteOpenHook", false, false},
                                           FaultCase{"CompileFormula", false, false},
                                           FaultCase{"CreateIdTable", false, false},
                                           FaultCase{"SearchDatabase", false, false},
                                           FaultCase{"InsertIdIntoTable#3", false, false},
                                           FaultCase{"ExportIdTableAsDxl", true, false},
                                           // the second selection and the anonymity-map export
                                           FaultCase{"CompileFormula#2", true, true},
                                           FaultCase{"CreateIdTable#2", true, true},
                                           FaultCase{"SearchDatabase#2", true, true},
                                           FaultCase{"InsertIdIntoTable#4", true, true},
                                           FaultCase{"ExportIdTableAsDxl#2", true, true}),
                         CaseName);

TEST(CatalogIgnoredStatusTest, AFailedItemSetLeavesTheNoteWithoutReplicaIdText) {
    const AcmeRun run("SimFault=SetTextItem:0x0ABC\n");
    ASSERT_EQ(run.Run({"-brenvik", "-p", "acme-catalog.nsf"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.Output() / "catalog.dxl").find("ReplicaIdText"), std::string::npos);
    EXPECT_TRUE(run.Log().empty());
    run.ExpectEverythingReleased();
}

}  // namespace
