// The run driver driven as a real process: exit codes and what is (not) written.
#include <gtest/gtest.h>

#include "tests/support/AcmeRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ProcessOptions;
using testsupport::RunExporter;
using testsupport::ScratchDir;

bool IsEmptyDir(const std::filesystem::path& dir) {
    return std::filesystem::is_empty(dir);
}

class DriverProcess : public ::testing::Test {
protected:
    void SetUp() override {
        options.workingDirectory = work.path();
        options.unsetEnvironment = {"KORVA_NOTES_PASSWORD"};
    }
    std::string Ini() const { return "=" + acme.ini().string(); }

    const testsupport::AcmeRun acme;
    const std::filesystem::path& env = acme.environment();
    const std::filesystem::path& out = acme.output();
    ScratchDir work;
    ProcessOptions options;
};

TEST_F(DriverProcess, UnusableCommandLinesExitWithOneAndWriteNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"-h", "-o", out.string(), "-nab"},
        {"-o", out.string(), "-nab", "-?"},
        {"-o", out.string(), "-bogus", "-nab"},
        {"-nab", "-o"},
        {"-nab", "-o", ""},
        {"-nab", "-o", (out / "missing").string()},
        {"-v", "-o", out.string(), "-x"},
    };
    for (const auto& arguments : cases) {
        const auto result = RunExporter(arguments, options);
        EXPECT_EQ(result.exitCode, 1) << ::testing::PrintToString(arguments);
        EXPECT_TRUE(result.standardOutput.empty());
        EXPECT_TRUE(IsEmptyDir(out));
        EXPECT_TRUE(IsEmptyDir(work.path()));
    }
    EXPECT_FALSE(std::filesystem::exists(out / "missing"));
}

TEST_F(DriverProcess, AnOutputPathThatIsAFileIsRefused) {
    testsupport::WriteFile(out / "file", "x");
    EXPECT_EQ(RunExporter({Ini(), "-nab", "-o", (out / "file").string()}, options).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out / "log.txt"));
}

TEST_F(DriverProcess, AValidOutputDirectoryWithoutAModeWritesNothing) {
    EXPECT_EQ(RunExporter({Ini(), "-o", out.string(), "-debug"}, options).exitCode, 0);
    EXPECT_TRUE(IsEmptyDir(out));
}

TEST_F(DriverProcess, VersionIsShownWithoutCheckingTheOutputDirectory) {
    const auto result = RunExporter({"-nab", "-V", "-o", (out / "missing").string()}, options);
    EXPECT_EQ(result.exitCode, 0);
    // The Windows build shows it in a box instead (which cannot open without a display).
    EXPECT_EQ(result.standardOutput, testsupport::ExporterIsWindows() ? "" : DXL_PRODUCT_VERSION "\n");
    EXPECT_TRUE(IsEmptyDir(out));
}

TEST_F(DriverProcess, WithoutAnEqualsArgumentNotesIniComesFromTheWorkingDirectory) {
    options.workingDirectory = env;
    options.environment = {{"KORVA_NOTES_PASSWORD", "not-it"}};
    RunExporter({"-nab", "-id", "collector.id", "-o", out.string()}, options);
    EXPECT_EQ(testsupport::LogLines(out / "log.txt").at(0).rfind("#ERROR# - Unable to switch id (Wrong Password.", 0), 0u);
}

TEST_F(DriverProcess, ThePasswordOptionBeatsTheEnvironmentAndNeverReachesAFile) {
    testsupport::WriteFile(env / "report.ini", "Directory=.\nSimReport=" + (out / "report.json").string() + "\n");
    options.environment = {{"KORVA_NOTES_PASSWORD", "env-secret-1"}};
    RunExporter({"=" + (env / "report.ini").string(), "-nab", "-id", "collector.id",
                 "-password", "opt-secret-2", "-o", out.string()}, options);
    const auto lines = testsupport::LogLines(out / "log.txt");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("#ERROR# - Unable to switch id (Wrong Password.", 0), 0u);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
        const std::string content = testsupport::ReadFile(entry.path());
        EXPECT_EQ(content.find("secret"), std::string::npos) << entry.path();
    }

    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    options.environment = {{"KORVA_NOTES_PASSWORD", "not-this"}};
    RunExporter({Ini(), "-nab", "-id", "collector.id", "-password", "acme-collect", "-o", out.string()}, options);
    for (const auto& line : testsupport::LogLines(out / "log.txt")) {
        EXPECT_EQ(line.find("switch id"), std::string::npos) << line;
    }
}

// A password may begin with "=": it still goes to the ID switch, never to the start-up as the
// name of a notes.ini.
TEST_F(DriverProcess, APasswordBeginningWithEqualsIsNoStartupArgument) {
    options.workingDirectory = env;
    RunExporter({"-id", "collector.id", "-password", "=not-it", Ini(), "-nab", "-o", out.string()},
                options);
    const std::string line = testsupport::LogLines(out / "log.txt").at(0);
    EXPECT_EQ(line.rfind("#ERROR# - Unable to switch id (Wrong Password.", 0), 0u) << line;
}

// Bytes that are not UTF-8 have no exact UTF-16 form: such an argument is refused, never turned
// into another name (here: the folder whose name holds U+FFFD instead).
TEST_F(DriverProcess, ArgumentsThatAreNotUtf8AreRefused) {
    if (testsupport::ExporterIsWindows()) GTEST_SKIP() << "Windows arguments are UTF-16 already";
    const std::filesystem::path given = acme.scratch() / "out\xFF";
    const std::filesystem::path lookalike = acme.scratch() / "out\xEF\xBF\xBD";
    std::filesystem::create_directories(given);
    std::filesystem::create_directories(lookalike);
    EXPECT_EQ(RunExporter({Ini(), "-nab", "-o", given.string()}, options).exitCode, 1);
    EXPECT_TRUE(IsEmptyDir(given));
    EXPECT_TRUE(IsEmptyDir(lookalike));

    EXPECT_EQ(RunExporter({Ini(), "-nab", "-s", "Hub\xFF", "-o", out.string()}, options).exitCode, 0);
    EXPECT_EQ(testsupport::LogLines(out / "log.txt"),
              std::vector<std::string>{"#ERROR# - Unable to read NAB (File does not exist)"});
    EXPECT_FALSE(std::filesystem::exists(out / "nab.xml"));
}

TEST_F(DriverProcess, TheEnvironmentPasswordIsUsedWithoutTheOption) {
    options.environment = {{"KORVA_NOTES_PASSWORD", "acme-collect"}};
    RunExporter({Ini(), "-nab", "-id", "collector.id", "-o", out.string()}, options);
    for (const auto& line : testsupport::LogLines(out / "log.txt")) {
        EXPECT_EQ(line.find("switch id"), std::string::npos) << line;
    }
    options.environment = {{"KORVA_NOTES_PASSWORD", "wrong"}};
    std::filesystem::remove(out / "log.txt");
    RunExporter({Ini(), "-nab", "-id", "collector.id", "-o", out.string()}, options);
    EXPECT_EQ(testsupport::LogLines(out / "log.txt").at(0).rfind("#ERROR# - Unable to switch id", 0), 0u);
}

}  // namespace
