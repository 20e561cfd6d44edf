// The -brenvik mode run as the real program on a copy of the sample environment.
#include <gtest/gtest.h>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using catalogtest::ExpectCatalogFile;
using testsupport::AcmeRun;

TEST(FullCatalogEndToEnd, ExportsTheCatalogDocumentsAndTheAnonymityMap) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-brenvik", "-p", "acme-catalog.nsf"}).exitCode, 0);
    // Not: a "CUSER" form (text compares exactly), another form, a design note.
    ExpectCatalogFile(run.output() / "catalog.dxl", {"402", "406", "410"});
    ExpectCatalogFile(run.output() / "anonMap.dxl", {"418"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp"));
    EXPECT_TRUE(run.Log().empty());
    run.ExpectEveryHandleReleased();
}

TEST(FullCatalogEndToEnd, NoAnonymityMapIsWrittenUnlessExactlyOneExists) {
    for (const bool twoMaps : {false, true}) {
        const AcmeRun run;
        std::string database = testsupport::ReadFile(run.environment() / "acme-catalog.nsf");
        // Make the memo a second map, or rename the one map away.
        if (twoMaps) {
            database.replace(database.find("\"Memo\""), 6, "\"anonMap\"");
        } else {
            database.replace(database.find("\"anonMap\""), 9, "\"anonMapX\"");
        }
        testsupport::WriteFile(run.environment() / "acme-catalog.nsf", database);
        ASSERT_EQ(run.Run({"-brenvik", "-p", "acme-catalog.nsf"}).exitCode, 0);
        ExpectCatalogFile(run.output() / "catalog.dxl", {"402", "406", "410"});
        EXPECT_FALSE(std::filesystem::exists(run.output() / "anonMap.dxl")) << twoMaps;
        EXPECT_TRUE(run.Log().empty()) << twoMaps;
        run.ExpectEveryHandleReleased();
    }
}

TEST(FullCatalogEndToEnd, ADatabaseOnAServer) {
    const AcmeRun run;
    std::filesystem::copy_file(run.environment() / "acme-catalog.nsf",
                               run.environment() / "hub01" / "acme-catalog.nsf");
    std::filesystem::remove(run.environment() / "acme-catalog.nsf");
    ASSERT_EQ(run.Run({"-brenvik", "-s", "Hub01/Acme", "-p", "acme-catalog.nsf"}).exitCode, 0);
    ExpectCatalogFile(run.output() / "catalog.dxl", {"402", "406", "410"});
}

TEST(FullCatalogEndToEnd, WithoutADatabasePathNothingIsOpened) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-brenvik"}).exitCode, 0);
    EXPECT_EQ(run.Log(), std::vector<std::string>{"#ERROR# - Unable to read catalog (File does not exist)"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl"));
    run.ExpectEveryHandleReleased();
}

}  // namespace
