// Helpers shared by the tests: scratch folders, files, and running the program as a process.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder under the system's temporary directory, removed when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& content);

struct ProcessResult {
    int exitCode = -1;
    std::string standardOutput;
};

struct ProcessOptions {
    std::filesystem::path workingDirectory;             // empty: the current one
    std::map<std::string, std::string> environment;     // added to (or replacing) the inherited
    std::vector<std::string> unsetEnvironment;
    long fileSizeLimit = -1;                            // RLIMIT_FSIZE in bytes
    long addressSpaceLimit = -1;                        // RLIMIT_AS in bytes
    std::filesystem::path program;                      // empty: the program under test
    unsigned timeLimitSeconds = 0;                      // then SIGALRM ends it (exit code 142)
    int userId = -1;                                    // run as this user (and group) id
    // Called with the process id while the program runs (e.g. to signal it).
    std::function<void(int processId)> whileRunning;
};

// For ProcessOptions::whileRunning: sends the program `signals`, 50 ms apart, once `file` holds
// at least `bytes` bytes (once it is there, for 0), or once a minute has gone by or the program
// has ended without.
std::function<void(int processId)> SignalOnceWritten(const std::filesystem::path& file,
                                                     const std::vector<int>& signals,
                                                     std::uintmax_t bytes = 0);

// Runs the program with `arguments` (the program path is added). The program is the one built
// with the tests, or the one the environment variable DXL_TEST_EXPORTER names. When that is a
// Windows build (a .exe) it runs under wine64, and every argument that is an absolute path (also
// after "=" and as "-o" value) is handed over in the form that program sees: see ExporterPathText.
// The Windows build shows its version in a box, not on standard output. With
// DXL_TEST_FORBID_EXPORTER set (scripts/test-windows does so for the tests it does not run
// under Wine) a call fails the test.
ProcessResult RunExporter(const std::vector<std::string>& arguments,
                          const ProcessOptions& options = {});

std::filesystem::path SourceDir();
std::filesystem::path ExporterPath();
// The look-alike Notes library the program under test loads in the build tree.
std::filesystem::path NotesLibraryBesideExporter();
// True when the program under test is the Windows build, run under Wine.
bool ExporterIsWindows();
// True when the program under test runs in an older Linux tree through a launcher (the release
// archive's check): there it has a fixed place and the tree's own Notes library, and only root
// can enter the tree.
bool ExporterRunsInTree();

// A path as the program under test names it, e.g. in log lines: the path itself natively; for
// the Windows build an absolute path becomes "Z:" and every "/" becomes "\".
std::string ExporterPathText(const std::filesystem::path& path);
// The separator the program puts between the output directory and a file name.
char ExporterSeparator();

// The environment that preloads the system-call fault injection (tests/faultinjection) into the
// program with `settings` (DXL_FAULT_CALL and the others, without their DXL_FAULT_ prefix).
std::map<std::string, std::string> FaultInjection(
    const std::map<std::string, std::string>& settings);

// The lines of a run log, each without its CR LF; fails the test when a line lacks CR LF.
std::vector<std::string> LogLines(const std::filesystem::path& logFile);
// The same without the first line when it is the debug line naming the Notes library loaded.
std::vector<std::string> LogLinesAfterLibraryLine(const std::filesystem::path& logFile);

// The library's text for ERR_SERVER_NOT_FOUND (0x0803), as the toolkit's clerr.h gives it.
inline const std::string kServerNotFoundText =
    "Unable to find path to server. Check that your network connection is working. If you have a "
    "working connection, go to Preferences - Notes Ports and click Trace to discover where it "
    "breaks down.";

// Fails the test unless the simulated runtime's report `reportFile` shows no handle left open and
// none misused; `what` names the run in the failure.
void ExpectEveryHandleReleased(const std::filesystem::path& reportFile, const std::string& what = "");
// The same for a report already read.
void ExpectEveryHandleReleased(const nlohmann::json& report, const std::string& what = "");

// The simulated runtime's diagnostics in its report `reportFile` ("0x0803: Unable to find path to
// server Nowhere/Acme"): what it tells of a failure beyond the status.
std::vector<std::string> ReportDiagnostics(const std::filesystem::path& reportFile);

// Copies the sample environment examples/<name> into `target`.
void CopyExample(const std::string& name, const std::filesystem::path& target);

}  // namespace testsupport
