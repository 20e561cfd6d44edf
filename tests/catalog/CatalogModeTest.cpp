// The -catalog and -brenvik modes run as the real program on a copy of the sample environment.
#include <gtest/gtest.h>

#include <regex>

#include "tests/catalog/CatalogTestSupport.h"

namespace {

using testsupport::AcmeRun;
using catalogtest::NoteIds;
using catalogtest::ReadDxl;
using testsupport::ReadFile;
using testsupport::WriteFile;

using Ids = std::vector<std::string>;

// Every exported note with a ReplicaId carries it as 16 uppercase hex digits in ReplicaIdText.
void ExpectReplicaIdTexts(const std::vector<catalogtest::DxlDocument>& documents) {
    const std::regex sixteenHexDigits("[0-9A-F]{16}");
    for (const auto& document : documents) {
        const std::string* replicaId = document.Item("ReplicaId");
        const std::string* text = document.Item("ReplicaIdText");
        if (replicaId == nullptr) {
            EXPECT_EQ(text, nullptr) << document.noteId;
            continue;
        }
        ASSERT_NE(text, nullptr) << document.noteId;
        EXPECT_TRUE(std::regex_match(*text, sixteenHexDigits)) << *text;
        EXPECT_EQ(*text, *replicaId) << document.noteId;
    }
}

void ExpectCatalogFile(const std::filesystem::path& file, const Ids& ids) {
    const std::string content = ReadFile(file);
    EXPECT_TRUE(catalogtest::HasCrLfLineEnds(content)) << file;
    const auto documents = ReadDxl(file);
    EXPECT_EQ(NoteIds(documents), ids) << file;
    ExpectReplicaIdTexts(documents);
}

TEST(ServerCatalogTest, ExportsExactlyTheServersNotefileDocuments) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 0);
    // Not: Mail01's and Hub02's entries, one whose server is written short, another form, a
    // design note.
    ExpectCatalogFile(run.output() / "catalog.dxl", {"2102", "2110", "2118", "2122"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp"));
    EXPECT_TRUE(run.Log().empty());
    run.ExpectEveryHandleReleased();
}

TEST(ServerCatalogTest, TheServerNameComesFromTheOpenedDatabaseNotFromTheCommandLine) {
    const AcmeRun abbreviated;
    const AcmeRun canonical;
    ASSERT_EQ(abbreviated.Run({"-catalog", "-s", "Hub01/Acme"}).exitCode, 0);
    ASSERT_EQ(canonical.Run({"-CATALOG", "-s", "cn=HUB01/o=acme"}).exitCode, 0);
    EXPECT_EQ(ReadFile(canonical.output() / "catalog.dxl"),
              ReadFile(abbreviated.output() / "catalog.dxl"));
}

TEST(ServerCatalogTest, TheLocalCatalogIsSearchedForItsOwnPath) {
    // Without a server the reported path has no "!!": "catalog.nsf" stands for the server name
    // and no entry names that server.
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-catalog"}).exitCode, 0);
    ExpectCatalogFile(run.output() / "catalog.dxl", {});
    EXPECT_TRUE(run.Log().empty());
}

TEST(ServerCatalogTest, AnUnknownServerIsReportedWithTheLibrarysText) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-catalog", "-s", "Nowhere/Acme"}).exitCode, 0);
    EXPECT_EQ(run.Log(),
              Ids{"#ERROR# - Unable to read catalog (" + testsupport::kServerNotFoundText + ")"});
    EXPECT_EQ(testsupport::ReportDiagnostics(run.report()),
              Ids{"0x0803: Unable to find path to server Nowhere/Acme"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl"));
    run.ExpectEveryHandleReleased();
}

// Keeps the real one-second waits between the attempts.
TEST(ServerCatalogTest, AnExistingCatalogFileStaysAndTheRunReports264) {
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
TEST(ServerCatalogTest, WithoutHookCallsTheDocumentsLackReplicaIdTextAndDebugSaysWhy) {
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

TEST(FullCatalogTest, ExportsTheCatalogDocumentsAndTheAnonymityMap) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-brenvik", "-p", "acme-catalog.nsf"}).exitCode, 0);
    // Not: a "CUSER" form (text compares exactly), another form, a design note.
    ExpectCatalogFile(run.output() / "catalog.dxl", {"402", "406", "410"});
    ExpectCatalogFile(run.output() / "anonMap.dxl", {"418"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "temp.tmp"));
    EXPECT_TRUE(run.Log().empty());
    run.ExpectEveryHandleReleased();
}

TEST(FullCatalogTest, NoAnonymityMapIsWrittenUnlessExactlyOneExists) {
    for (const bool twoMaps : {false, true}) {
        const AcmeRun run;
        std::string database = ReadFile(run.environment() / "acme-catalog.nsf");
        // Make the memo a second map, or rename the one map away.
        if (twoMaps) {
            database.replace(database.find("\"Memo\""), 6, "\"anonMap\"");
        } else {
            database.replace(database.find("\"anonMap\""), 9, "\"anonMapX\"");
        }
        WriteFile(run.environment() / "acme-catalog.nsf", database);
        ASSERT_EQ(run.Run({"-brenvik", "-p", "acme-catalog.nsf"}).exitCode, 0);
        ExpectCatalogFile(run.output() / "catalog.dxl", {"402", "406", "410"});
        EXPECT_FALSE(std::filesystem::exists(run.output() / "anonMap.dxl")) << twoMaps;
        EXPECT_TRUE(run.Log().empty()) << twoMaps;
        run.ExpectEveryHandleReleased();
    }
}

TEST(FullCatalogTest, ADatabaseOnAServer) {
    const AcmeRun run;
    std::filesystem::copy_file(run.environment() / "acme-catalog.nsf",
                               run.environment() / "hub01" / "acme-catalog.nsf");
    std::filesystem::remove(run.environment() / "acme-catalog.nsf");
    ASSERT_EQ(run.Run({"-brenvik", "-s", "Hub01/Acme", "-p", "acme-catalog.nsf"}).exitCode, 0);
    ExpectCatalogFile(run.output() / "catalog.dxl", {"402", "406", "410"});
}

TEST(FullCatalogTest, WithoutADatabasePathNothingIsOpened) {
    const AcmeRun run;
    ASSERT_EQ(run.Run({"-brenvik"}).exitCode, 0);
    EXPECT_EQ(run.Log(), Ids{"#ERROR# - Unable to read catalog (File does not exist)"});
    EXPECT_FALSE(std::filesystem::exists(run.output() / "catalog.dxl"));
    run.ExpectEveryHandleReleased();
}

}  // namespace
