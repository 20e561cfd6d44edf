// How the program finds the Notes library, and what a run leaves when it cannot use one: the
// same as a run whose Notes start-up failed, with the reason in its one error line.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/AcmeRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ExporterIsWindows;
using testsupport::ExporterRunsInTree;
using testsupport::ExporterPathText;
using testsupport::LogLines;
using testsupport::ProcessOptions;
using testsupport::ReadFile;
using testsupport::RunExporter;
using testsupport::ScratchDir;

const std::vector<std::vector<std::string>> kModes = {
    {"-catalog", "-s", "Hub01/Acme"}, {"-brenvik", "-p", "acme-catalog.nsf"},
    {"-logscan"}, {"-nab"}, {"-servers"}};

// Every file a run left, by name, with its content; the run log apart.
std::map<std::string, std::string> OutputFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "log.txt") files[name] = ReadFile(entry.path());
    }
    return files;
}

class NotesLibraryProcess : public testing::Test {
protected:
    const testsupport::AcmeRun acme;
    const ScratchDir& scratch = acme.scratch();
    const std::string sampleIni = acme.ini().string();

    std::filesystem::path Run(const std::string& name, const std::vector<std::string>& mode,
                              const std::string& ini, const ProcessOptions& options = {}) {
        const std::filesystem::path output = scratch / name;
        std::filesystem::create_directories(output);
        std::vector<std::string> arguments = {"=" + ini};
        arguments.insert(arguments.end(), mode.begin(), mode.end());
        arguments.insert(arguments.end(), {"-o", output.string()});
        EXPECT_EQ(RunExporter(arguments, options).exitCode, 0) << name;
        return output;
    }

    static ProcessOptions WithLibrary(const std::string& file) {
        ProcessOptions options;
        options.environment["DXL_NOTES_LIBRARY"] = file;
        return options;
    }
};

TEST_F(NotesLibraryProcess, AMissingLibraryEndsEveryModeAsAFailedStartDoes) {
    const std::filesystem::path missing =
        scratch / "nowhere" / testsupport::NotesLibraryBesideExporter().filename();
    const std::string named = ExporterPathText(missing);
    for (std::size_t i = 0; i < kModes.size(); ++i) {
        const auto unloaded = Run("unloaded" + std::to_string(i), kModes[i],
                                  sampleIni, WithLibrary(named));
        const auto unstarted =
            Run("unstarted" + std::to_string(i), kModes[i], (scratch / "no.ini").string());
        const auto log = LogLines(unloaded / "log.txt");
        ASSERT_EQ(log.size(), 1u) << kModes[i][0];
        EXPECT_EQ(log[0].rfind("#ERROR# - Unable to load the Notes library " + named + " (", 0), 0u)
            << log[0];
        EXPECT_GT(log[0].size(), ("#ERROR# - Unable to load the Notes library " + named + " ()").size())
            << "the system's reason is missing: " << log[0];
        EXPECT_EQ(LogLines(unstarted / "log.txt"),
                  std::vector<std::string>{"#ERROR# - Notes initialization failed (1A5)"});
        EXPECT_EQ(OutputFiles(unloaded), OutputFiles(unstarted)) << kModes[i][0];
    }
}

// The first function the library lacks is named; no other candidate is tried in its place.
TEST_F(NotesLibraryProcess, ALibraryLackingAFunctionIsNamedWithIt) {
    const std::string library = ExporterIsWindows() ? "kernel32.dll" : DXL_PARTIAL_NOTES_LIBRARY;
    const std::string missing = ExporterIsWindows() ? "NotesInitExtended" : "LogCloseActivityStream";
    const auto output = Run("partial", {"-nab"}, sampleIni, WithLibrary(library));
    // A bare name is found by the search and named by the file found.
    const std::string found = ExporterIsWindows() ? "C:\\windows\\system32\\kernel32.dll" : library;
    const auto log = LogLines(output / "log.txt");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("#ERROR# - Unable to load the Notes library " + found + ": function " +
                               missing + " not found (",
                           0),
              0u)
        << log[0];
    EXPECT_TRUE(OutputFiles(output).empty());
}

// A 64-bit program cannot load a 32-bit Notes library, nor the reverse: the run says so.
TEST_F(NotesLibraryProcess, ALibraryOfTheOtherBitnessIsALoadFailure) {
    const char* foreign = std::getenv("DXL_TEST_FOREIGN_NOTES_LIBRARY");
    if (foreign == nullptr || foreign[0] == '\0') {
        GTEST_SKIP() << "no library of another bitness given (DXL_TEST_FOREIGN_NOTES_LIBRARY)";
    }
    ASSERT_TRUE(std::filesystem::exists(foreign)) << foreign;
    const std::string named = ExporterPathText(foreign);
    const auto output = Run("foreign", {"-catalog", "-s", "Hub01/Acme"},
                            sampleIni, WithLibrary(named));
    const auto log = LogLines(output / "log.txt");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("#ERROR# - Unable to load the Notes library " + named + " (", 0), 0u)
        << log[0];
    EXPECT_TRUE(OutputFiles(output).empty());
}

// The program lies elsewhere, with no library beside it or on the loader's search path: only
// Notes_ExecDirectory, the Notes program directory, leads to the library.
TEST_F(NotesLibraryProcess, ALibraryIsFoundThroughTheNotesProgramDirectoryAlone) {
    if (ExporterIsWindows()) GTEST_SKIP() << "Windows finds the Notes program in the registry";
    if (ExporterRunsInTree()) GTEST_SKIP() << "the program in the tree finds the tree's library";
    const std::filesystem::path program = scratch / "bin" / "dxlexporter";
    std::filesystem::create_directories(program.parent_path());
    std::filesystem::copy_file(testsupport::ExporterPath(), program);
    const std::filesystem::path library =
        std::filesystem::canonical(testsupport::NotesLibraryBesideExporter());
    ProcessOptions options;
    options.program = program;
    options.unsetEnvironment = {"DXL_NOTES_LIBRARY", "LD_LIBRARY_PATH", "Notes_ExecDirectory"};
    const auto unfound = Run("unfound", {"-servers"}, sampleIni, options);
    const auto log = LogLines(unfound / "log.txt");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("#ERROR# - Unable to load the Notes library ", 0), 0u)
        << log[0];

    options.unsetEnvironment.pop_back();
    options.environment["Notes_ExecDirectory"] = library.parent_path().string();
    const auto found = Run("found", {"-servers", "-debug"}, sampleIni, options);
    EXPECT_EQ(LogLines(found / "log.txt"),
              (std::vector<std::string>{
                  "#DEBUG# - Notes library: " + library.string(),
                  "#DEBUG# - Notes library call NAMEGetTextItem2 returned 310"}));
    EXPECT_EQ(ReadFile(found / "servers.txt"),
              ReadFile(Run("beside", {"-servers"}, sampleIni) / "servers.txt"));
}

TEST_F(NotesLibraryProcess, DebugNamesTheLibraryLoaded) {
    const auto output = Run("debug", {"-servers", "-debug"}, sampleIni);
    const auto log = LogLines(output / "log.txt");
    ASSERT_FALSE(log.empty());
    const std::filesystem::path library =
        std::filesystem::canonical(testsupport::NotesLibraryBesideExporter());
    EXPECT_EQ(log[0], "#DEBUG# - Notes library: " + ExporterPathText(library));
    // Every failed call of the library, named with its raw status: here a server entry without
    // the item asked for (ERR_NO_SUCH_ITEM), which the mode skips.
    EXPECT_EQ(std::vector<std::string>(log.begin() + 1, log.end()),
              std::vector<std::string>{
                  "#DEBUG# - Notes library call NAMEGetTextItem2 returned 310"});
}

// The Windows build's imports are checked with its other properties (WindowsBuildEndToEnd).
TEST_F(NotesLibraryProcess, TheProgramNeedsNoNotesLibraryToStart) {
    if (ExporterIsWindows()) GTEST_SKIP() << "checked by WindowsBuildEndToEnd";
    std::string needed;
    if (std::FILE* pipe = ::popen(("readelf -d '" + testsupport::ExporterPath().string() + "'").c_str(), "r")) {
        char line[512];
        while (std::fgets(line, sizeof line, pipe) != nullptr) {
            if (std::string(line).find("(NEEDED)") != std::string::npos) needed += line;
        }
        ::pclose(pipe);
    }
    ASSERT_NE(needed.find("libc.so"), std::string::npos) << "readelf gave no library list";
    EXPECT_EQ(needed.find("notes"), std::string::npos) << needed;
}

TEST_F(NotesLibraryProcess, ModelessCommandLinesNeverLoadTheLibrary) {
    if (ExporterIsWindows()) GTEST_SKIP() << "the marking library is built for Linux only";
    const std::filesystem::path marker = scratch / "loaded";
    ProcessOptions options = WithLibrary(DXL_PARTIAL_NOTES_LIBRARY);
    options.environment["DXL_TEST_LOAD_MARKER"] = marker.string();
    const std::string out = (scratch / "out").string();
    std::filesystem::create_directories(out);
    const std::vector<std::vector<std::string>> commandLines = {
        {"-v"}, {"-h"}, {"-nab", "-bogus", "-o", out}, {"-nab", "-o"}, {"-nab", "-o", out + "/x"},
        {"-o", out}};
    for (const auto& commandLine : commandLines) {
        RunExporter(commandLine, options);
        EXPECT_FALSE(std::filesystem::exists(marker)) << commandLine[0] << " loaded the library";
    }
    RunExporter({"-nab", "-o", out}, options);
    EXPECT_TRUE(std::filesystem::exists(marker)) << "the marker does not show a load";
}

}  // namespace
