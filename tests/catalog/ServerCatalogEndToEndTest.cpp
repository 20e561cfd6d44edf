// The -catalog mode run as the real program on a copy of the sample environment.
#include <gtest/gtest.h>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using testsupport::AcmeRun;
using catalogtest::ExpectCatalogFile;
using catalogtest::NoteIds;
using catalogtest::ReadDxl;
using testsupport::ReadFile;
using testsupport::WriteFile;

using Ids = std::vector<std::string>;

TEST(ServerCatalogEndToEnd, ExportsExactlyTheServersNotefileDocuments) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 0);
    // Not: Mail01's and Hub02's entries, one whose server is written short, another form, a
    // design note.
    ExpectCatalogFile(run.output() / "catalog.dxl", {"2102", "2110", "2118", "2122"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp"));
    EXPECT_TRUE(run.Log().empty());
    run.ExpectEveryHandleReleased();
}

TEST(ServerCatalogEndToEnd, TheServerNameComesFromTheOpenedDatabaseNotFromTheCommandLine) {
    const AcmeRun abbreviated;
    const AcmeRun canonical;
    ASSERT_EQ(abbreviated.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 0);
    ASSERT_EQ(canonical.Run({"-CATALOG", "-s", "cn=HUB01/o=acme"}).exitCode, 0);
    EXPECT_EQ(ReadFile(canonical.output() / "catalog.dxl"),
              ReadFile(abbreviated.output() / "catalog.dxl"));
}

TEST(ServerCatalogEndToEnd, TheLocalCatalogIsSearchedForItsOwnPath) {
    // Without a server the reported path has no "!!": "catalog.nsf" stands for the server name
    // and no entry names that server.
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-catalog"}).exitCode, 0);
    ExpectCatalogFile(run.output() / "catalog.dxl", {});
    EXPECT_TRUE(run.Log().empty());
}

TEST(ServerCatalogEndToEnd, AnUnknownServerIsReportedWithTheLibrarysText) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-catalog", "-s", "Nowhere/Acme"}).exitCode, 0);
    EXPECT_EQ(run.Log(),
              Ids{"#ERROR# - Unable to read catalog (" + testsupport::kServerNotFoundText + ")"});
    EXPECT_EQ(run.Diagnostics(), Ids{"0x0803: Unable to find path to server Nowhere/Acme"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl"));
    run.ExpectEveryHandleReleased();
}

// Keeps the real one-second waits between the attempts.
TEST(ServerCatalogEndToEnd, AnExistingCatalogFileStaysAndTheRunReports264) {
    const AcmeRun run;
    WriteFile(run.output() / "catalog.dxl", "earlier export");
    ASSERT_EQ(run.Run({"-catalog", "-s", "Hub01/Acme", "-debug"}).exitCode, 0);
    // The system's reason follows each retry; Windows gives its own text for MoveFileW.
    const Ids log = run.Log();
    ASSERT_GE(log.size(), 3u);
    const std::string windowsReason = "#DEBUG# - MoveFileW(temp.tmp, catalog.dxl): ";
    const std::string reason = testsupport::ExporterIsWindows()
                                   ? log[2]
                                   : "#DEBUG# - link(temp.tmp, catalog.dxl): File exists";
    if (testsupport::ExporterIsWindows()) {
        EXPECT_EQ(reason.rfind(windowsReason, 0), 0u) << reason;
        EXPECT_GT(reason.size(), windowsReason.size()) << reason;
    }
    EXPECT_EQ(log, (Ids{
                             "#DEBUG# - DXL export of 4 notes: 4 note-open hook calls",
                             "#DEBUG# - Retrying move DXL file into place: 1", reason,
                             "#DEBUG# - Retrying move DXL file into place: 2", reason,
                             "#DEBUG# - Retrying move DXL file into place: 3", reason,
                             "#DEBUG# - Retrying move DXL file into place: 4", reason,
                             "#WARNING# - Unable to move DXL file into place (tried retry)",
                             "#ERROR# - Unable to read catalog (File cannot be created)",
                         }));
    EXPECT_EQ(ReadFile(run.output() / "catalog.dxl"), "earlier export");
    EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp"));
    run.ExpectEveryHandleReleased();
}

// A library whose DXL exporter does not raise the note-open hook: the notes go out without
// ReplicaIdText, and only -debug says why.
TEST(ServerCatalogEndToEnd, WithoutHookCallsTheDocumentsLackReplicaIdTextAndDebugSaysWhy) {
    const AcmeRun run("SimDxlOpenHooks=0\n");
    for (const bool debug : {false, true}) {
        std::filesystem::remove(run.output() / "log.txt");
        ASSERT_EQ(run.Run(debug ? Ids{"-catalog", "-s", "Hub01/Acme", "-debug"}
                                : Ids{"-catalog", "-s", "Hub01/Acme"})
                      .exitCode,
                  0);
        const auto documents = ReadDxl(run.output() / "catalog.dxl");
        EXPECT_EQ(NoteIds(documents), (Ids{"2102", "2110", "2118", "2122"}));
        for (const auto& document : documents) {
            EXPECT_EQ(document.Item("ReplicaIdText"), nullptr) << document.noteId;
        }
        const Ids debugLines = {"#DEBUG# - DXL export of 4 notes: 0 note-open hook calls",
                                "#DEBUG# - ReplicaIdText was not added because the library "
                                "did not call the note-open hook"};
        EXPECT_EQ(run.Log(), debug ? debugLines : Ids{});
        std::filesystem::remove(run.output() / "catalog.dxl");
    }
    run.ExpectEveryHandleReleased();
}

}  // namespace
