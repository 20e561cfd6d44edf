// The fault sweep: a mode runs once cleanly to learn which status-returning operations it calls
// and how often, then once per (operation, call) with that one call failing, each run checked
// against what the failure of that operation must give.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace sweep {

// What one run of the program left behind.
struct RunOutcome {
    int exitCode = -1;
    std::vector<std::string> log;              // the run-log lines without their CR LF
    std::map<std::string, std::string> files;  // every other file of the output folder
    std::optional<nlohmann::json> report;      // the runtime's report, when it wrote one
    std::string errors;                        // what the process wrote to standard error
};

struct Expectation {
    std::vector<std::string> log;  // exactly these run-log lines
    // Checks the output files against the clean run's; an empty text when they are right.
    std::function<std::string(const RunOutcome& clean, const RunOutcome& faulted)> files;
};

// A status a C function of the library may return, as the reference and the toolkit's headers
// name it, and the library's text for it; null for one whose text the library does not store.
// A failing call's status has its flag bits too.
struct InjectedStatus {
    unsigned status;
    const char* text;
};

// What the failure of one call of an operation with `injected` must give, knowing the clean run.
using FailureRule = std::function<Expectation(unsigned call, const RunOutcome& clean,
                                              const InjectedStatus& injected)>;

struct ModeRules {
    std::vector<std::string> arguments;  // the mode and its options
    // Every operation the mode may call; a call of any other fails the sweep, so that a new
    // operation gets its failure behaviour stated here. One without a rule is one the reference
    // says never fails: it is not made to.
    std::map<std::string, std::optional<FailureRule>> operations;
};

struct SweepCount {
    std::size_t cases = 0;
    std::map<std::string, unsigned> calls;  // of the clean run, per operation
};

// Runs the sweep of one mode (gtest failures for every wrong case) and counts its cases.
SweepCount SweepMode(const ModeRules& rules);

// The statuses that the reference names for the C function behind `operation`, which the sweep
// injects in turn; empty for an operation it does not know.
const std::vector<InjectedStatus>& StatusesOf(const std::string& operation);

// The run-log line of a failed Notes operation: `format` with its %s filled with the library's
// text for the status, or "status 0x" and the status where the library has none.
std::string NotesErrorLine(const std::string& format, const InjectedStatus& injected);

}  // namespace sweep
