// A run of the program over a copy of the sample environment (examples/acme), in a scratch
// folder of its own, with a notes.ini of the test's own: the one fixture of every test that runs
// the program on the sample.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace testsupport {

class AcmeRun {
public:
    // The notes.ini holds the sample's data directory, "MailServer=<mailServer>" unless that is
    // null, the runtime's report (SimReport) and then `iniLines`.
    explicit AcmeRun(const std::string& iniLines = "",
                     const char* mailServer = "CN=Mail01/O=Acme");

    const std::filesystem::path& environment() const { return environment_; }
    const std::filesystem::path& output() const { return output_; }
    std::filesystem::path OutputFile(const std::string& name) const { return output_ / name; }
    std::filesystem::path ini() const { return environment_ / "test.ini"; }
    std::filesystem::path report() const { return scratch_ / "report.json"; }
    const ScratchDir& scratch() const { return scratch_; }

    // Adds `lines` to the notes.ini of the next runs; Replace... puts them in place of all the
    // lines added so far (those given to the constructor included).
    void AddIniLines(const std::string& lines);
    void ReplaceIniLines(const std::string& lines);

    // "=<notes.ini>", `arguments` and "-o <output>": a whole command line over this environment.
    std::vector<std::string> Arguments(const std::vector<std::string>& arguments,
                                       const std::filesystem::path& output) const;
    // Runs the program with Arguments(arguments, output()), from the scratch folder. The
    // runtime's report of the run before is removed first.
    ProcessResult Run(const std::vector<std::string>& arguments, ProcessOptions options = {}) const;

    // The run-log lines without their CR LF, and without the first when it is the debug line
    // naming the Notes library loaded; none when there is no log.
    std::vector<std::string> Log() const;
    // The runtime's diagnostics of the last run (testsupport::ReportDiagnostics).
    std::vector<std::string> Diagnostics() const { return ReportDiagnostics(report()); }
    // Fails the test unless the runtime's report of the last run shows no handle left open and
    // none misused.
    void ExpectEveryHandleReleased() const { testsupport::ExpectEveryHandleReleased(report()); }

private:
    void WriteIni() const;

    ScratchDir scratch_;
    std::filesystem::path environment_;
    std::filesystem::path output_;
    std::string iniStart_;  // up to the report
    std::string iniLines_;
};

}  // namespace testsupport
