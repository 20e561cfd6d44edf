// For each mode on the sample environment: one run per (operation, call) of every
// status-returning operation the mode calls, with that call failing. Each run must exit with 0,
// write exactly the run-log line(s) stated for that operation, leave no half-written output
// and release every handle.
#include <gtest/gtest.h>

#include <iostream>

#include "tests/sweep/FaultSweep.h"
#include "tests/sweep/ModeRules.h"

namespace sweep {
namespace {

std::size_t& TotalCases() {
    static std::size_t total = 0;
    return total;
}

class TotalPrinter : public ::testing::Environment {
public:
    void TearDown() override {
        std::cout << "fault sweep: " << TotalCases() << " (operation, call) cases in all\n";
    }
};

const auto* const kTotalPrinter = ::testing::AddGlobalTestEnvironment(new TotalPrinter);

void Sweep(const std::string& title, const ModeRules& rules) {
    const SweepCount count = SweepMode(rules);
    std::cout << "fault sweep " << title << ": " << count.cases << " cases (";
    const char* separator = "";
    for (const auto& [operation, calls] : count.calls) {
        std::cout << separator << operation << " " << calls;
        separator = ", ";
    }
    std::cout << ")\n";
    EXPECT_GT(count.cases, 0u);
    TotalCases() += count.cases;
}

TEST(FaultSweep, ServerCatalog) { Sweep("-catalog", ServerCatalogRules()); }

TEST(FaultSweep, FullCatalog) { Sweep("-brenvik", FullCatalogRules()); }

TEST(FaultSweep, ActivityLogToTheEnd) { Sweep("-logscan", ActivityLogRules({})); }

// From a start time, on "<Local>", until the row limit stops the scan.
TEST(FaultSweep, ActivityLogStoppedByTheRowLimit) {
    Sweep("-logscan -rowLimit",
          ActivityLogRules({"-s", "<Local>", "-start", "00258EC0002BF644", "-rowLimit", "5"}));
}

TEST(FaultSweep, Directory) { Sweep("-nab", DirectoryRules()); }

TEST(FaultSweep, ServerList) { Sweep("-servers", ServerListRules()); }

}  // namespace
}  // namespace sweep
