// The catalog modes called in the test process, with the retry waits replaced.
#include <gtest/gtest.h>

#include "catalog/DxlFileWriter.h"
#include "catalog/FullCatalogExport.h"
#include "catalog/ServerCatalogExport.h"
#include "driver/RunSettings.h"
#include "notessim/SimControl.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "tests/catalog/CatalogTestSupport.h"
#include "tests/support/AcmeRun.h"
#include "tests/support/InProcessRun.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

unsigned waitCount = 0;
void CountWait(unsigned /*milliseconds*/) { ++waitCount; }

class CatalogExportCalls : public ::testing::Test {
protected:
    void SetUp() override {
        notessim::ResetRuntime();
        driver::Settings() = {};
        waitCount = 0;
        catalog::RetryWait() = CountWait;
    }

    // Starts Notes in this process on the sample, for the export functions called directly.
    void StartNotes() {
        std::string program = "test";
        std::string ini = "=" + acme.ini().string();
        char* argv[] = {program.data(), ini.data(), nullptr};
        ASSERT_EQ(notes::InitializeNotes(2, argv), 0);
        started_ = true;
        driver::Settings().outputDir = platform::Utf8ToUtf16(output.string());
    }

    void TearDown() override {
        EXPECT_TRUE(notessim::OpenHandles().empty());
        EXPECT_TRUE(notessim::HandleMisuses().empty());
        if (started_) notes::TerminateNotes();
        notessim::ResetRuntime();
        driver::Settings() = {};
        catalog::RetryWait() = platform::SleepMilliseconds;
    }

    const testsupport::AcmeRun acme;
    const std::filesystem::path& output = acme.output();

private:
    bool started_ = false;
};

TEST_F(CatalogExportCalls, AnExistingAnonymityMapStaysBesideTheNewCatalog) {
    StartNotes();
    WriteFile(output / "anonMap.dxl", "earlier map");
    driver::Settings().databasePath = u"acme-catalog.nsf";
    EXPECT_EQ(catalog::ExportFullCatalog(), 264);
    EXPECT_EQ(waitCount, 4u);
    EXPECT_EQ(catalogtest::NoteIds(catalogtest::ReadDxl(output / "catalog.dxl")),
              (std::vector<std::string>{"402", "406", "410"}));
    EXPECT_EQ(ReadFile(output / "anonMap.dxl"), "earlier map");
    EXPECT_FALSE(std::filesystem::exists(output / "temp.tmp"));
}

TEST_F(CatalogExportCalls, AnExistingCatalogStopsBeforeTheAnonymityMap) {
    StartNotes();
    WriteFile(output / "catalog.dxl", "earlier catalog");
    driver::Settings().databasePath = u"acme-catalog.nsf";
    EXPECT_EQ(catalog::ExportFullCatalog(), 264);
    EXPECT_EQ(ReadFile(output / "catalog.dxl"), "earlier catalog");
    EXPECT_FALSE(std::filesystem::exists(output / "anonMap.dxl"));
}

// A path the library would cut names another database: only a database named by 255 bytes
// exists, and a name of 256 must not reach it. With a server the path holds "server!!file".
TEST_F(CatalogExportCalls, APathLongerThanTheLibraryTakesIsRefusedNeverCut) {
    StartNotes();
    std::filesystem::copy_file(acme.environment() / "acme-catalog.nsf",
                               acme.environment() / std::string(255, 'a'));
    driver::Settings().databasePath = std::u16string(254, u'a');
    EXPECT_EQ(catalog::ExportFullCatalog(), 259);
    driver::Settings().databasePath = std::u16string(256, u'a');
    EXPECT_EQ(catalog::ExportFullCatalog(), 462);
    EXPECT_FALSE(std::filesystem::exists(output / "catalog.dxl"));
    driver::Settings().databasePath = std::u16string(255, u'a');
    EXPECT_EQ(catalog::ExportFullCatalog(), 0);
    EXPECT_TRUE(std::filesystem::exists(output / "catalog.dxl"));

    // "Hub01/Acme!!" and 243 bytes of file are a whole path; one byte more is not.
    driver::Settings().server = u"Hub01/Acme";
    driver::Settings().databasePath = std::u16string(243, u'a');
    EXPECT_EQ(catalog::ExportFullCatalog(), 259);
    driver::Settings().databasePath = std::u16string(244, u'a');
    EXPECT_EQ(catalog::ExportFullCatalog(), 462);
    driver::Settings().server = std::u16string(300, u'h');
    EXPECT_EQ(catalog::ExportServerCatalog(), 462);
}

// The whole run through the driver, so the failure reaches the log with the library's text.
TEST_F(CatalogExportCalls, ATemporaryFileThatCannotBeRemovedIsReportedAs260) {
    WriteFile(acme.OutputFile("temp.tmp") / "inside", "keeps the directory");
    WriteFile(acme.OutputFile("catalog.dxl"), "earlier export");
    EXPECT_EQ(testsupport::RunMainInProcess(
                  acme.Arguments({"-catalog", "-s", "Hub01/Acme", "-debug"}, output)),
              0);

    // The retries' lines before them are DxlFileWriter's (its test of this case).
    const std::vector<std::string> log = testsupport::LogLines(acme.OutputFile("log.txt"));
    ASSERT_EQ(log.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{
                  "#WARNING# - Unable to delete DXL temporary file (tried retry)",
                  "#ERROR# - Unable to read catalog (File already exists)",
              }));
    EXPECT_EQ(waitCount, 4u);
    EXPECT_EQ(ReadFile(acme.OutputFile("catalog.dxl")), "earlier export");
}

}  // namespace
