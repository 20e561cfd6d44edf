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

// What the failure of one call of an operation must give, knowing the clean run.
using FailureRule = std::function<Expectation(unsigned call, const RunOutcome& clean)>;

struct ModeRules {
    std::vector<std::string> arguments;  // the mode and its options
    // Every operation the mode may call; a call of any other fails the sweep, so that a new
    // operation gets its failure behaviour stated here.
    std::map<std::string, FailureRule> operations;
};

struct SweepCount {
    std::size_t cases = 0;
    std::map<std::string, unsigned> calls;  // of the clean run, per operation
};

// Runs the sweep of one mode (gtest failures for every wrong case) and counts its cases.
SweepCount SweepMode(const ModeRules& rules);

// The status every fault injects, and the texts it shows in the run log.
inline constexpr const char* kFaultStatus = "0x0103";
inline constexpr const char* kFaultStatusText = "File does not exist";
inline constexpr const char* kFaultStatusHex = "103";
// The same status with the library's STS flags (the top two bits) set.
inline constexpr const char* kFlaggedFaultStatus = "0xC103";
inline constexpr const char* kFlaggedFaultStatusHex = "C103";

}  // namespace sweep
