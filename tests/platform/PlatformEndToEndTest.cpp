// The platform's part of a run of the program as a process, the same for the Linux build and for
// the Windows build under Wine.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/AcmeRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ExporterIsWindows;
using testsupport::ReadFile;
using testsupport::RunExporter;
using testsupport::ScratchDir;

TEST(PlatformEndToEnd, VersionRequestEndsTheRunWithoutWritingAnything) {
    const testsupport::AcmeRun run;
    const auto result = run.Run({"-catalog", "-v"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(std::filesystem::is_empty(run.output()));
    // The Windows build shows the version in a box; without a display the box cannot open.
    if (ExporterIsWindows()) {
        EXPECT_EQ(result.standardOutput, "");
    }
}

// The separator after the folder stays: the paths hold two in a row (two backslashes on Windows).
TEST(PlatformEndToEnd, OutputDirectoryWithATrailingSeparatorIsUsedAsItStands) {
    const testsupport::AcmeRun run;
    const std::string output = run.output().string() + "/";
    ASSERT_EQ(testsupport::ExporterPathText(output).back(), testsupport::ExporterSeparator());
    const std::filesystem::path plain = run.scratch() / "plain";
    std::filesystem::create_directories(plain);
    for (const std::string& folder : {output, plain.string()}) {
        const auto result = RunExporter(run.Arguments({"-catalog", "-s", "Hub01/Acme", "-debug"}, folder));
        EXPECT_EQ(result.exitCode, 0);
    }
    // The library called the note-open hook for every note it exported.
    EXPECT_EQ(run.Log(),
              std::vector<std::string>{"#DEBUG# - DXL export of 4 notes: 4 note-open hook calls"});
    EXPECT_FALSE(std::filesystem::exists(run.OutputFile("temp.tmp")));
    const std::string catalog = ReadFile(run.OutputFile("catalog.dxl"));
    EXPECT_NE(catalog.find("<document"), std::string::npos);
    EXPECT_EQ(catalog, ReadFile(plain / "catalog.dxl"));
}

TEST(PlatformEndToEnd, ReadsAndWritesUnderANonAsciiFolder) {
    // "ø" and "€" have forms in the ANSI code page (1252 under Wine), so the start-up argument
    // carries them; the runtime's own paths (its data, its report) come as UTF-8.
    ScratchDir scratch;
    const std::filesystem::path folder = scratch / "Bjørn€";
    std::filesystem::create_directories(folder / "out");
    testsupport::CopyExample("acme", folder / "acme");
    testsupport::WriteFile(folder / "acme" / "test.ini",
                           ReadFile(folder / "acme" / "notes.ini") +
                               "SimReport=" + (folder / "report.json").string() + "\n");
    const auto result =
        RunExporter({"=" + (folder / "acme" / "test.ini").string(), "-catalog", "-s",
                     "Hub01/Acme", "-o", (folder / "out").string()});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(folder / "out" / "log.txt"));
    EXPECT_NE(ReadFile(folder / "out" / "catalog.dxl").find("<document"), std::string::npos);
    EXPECT_NE(ReadFile(folder / "report.json").find("openHandles"), std::string::npos);
}

}  // namespace
