#include "tests/sweep/FaultSweep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <thread>

#include "tests/support/TestSupport.h"
#include "tests/sweep/ParallelRuns.h"

namespace sweep {
namespace {

namespace fs = std::filesystem;

// Lines of the activity stream kept for the sweep: every record type and item form occurs in
// them, and the cases stay few enough to run each in its own process.
constexpr std::size_t kActivityLines = 40;

// The sample environment with a shorter activity stream; the ID switch is in every run.
void PrepareEnvironment(const fs::path& environment) {
    testsupport::CopyExample("acme", environment);
    std::ifstream full(environment / "log.nsf.activity.jsonl");
    std::string kept;
    std::string line;
    for (std::size_t i = 0; i < kActivityLines && std::getline(full, line); ++i)
        kept += line + "\n";
    full.close();
    testsupport::WriteFile(environment / "log.nsf.activity.jsonl", kept);
}

struct CaseFolder {
    fs::path folder;
    fs::path Ini() const { return folder / "notes.ini"; }
    fs::path Output() const { return folder / "out"; }
    fs::path Report() const { return folder / "report.json"; }
    fs::path Errors() const { return folder / "stderr.txt"; }
};

// A notes.ini of its own beside the sample's (so that Directory=. still names the environment):
// small view batches and DXL chunks so that every loop runs more than once, a library that
// delivers everything a real one may, the report, and the fault if any.
ProcessRun PrepareRun(const fs::path& environment, const CaseFolder& run, const ModeRules& rules,
                      const std::string& fault, unsigned status = 0) {
    fs::create_directories(run.Output());
    const fs::path ini = environment / (run.folder.filename().string() + ".ini");
    std::string settings = testsupport::ReadFile(environment / "notes.ini") +
                           "SimViewBatch=2\nSimDxlChunk=700\nSimExtendedDelivery=1\n" +
                           "SimReport=" + run.Report().string() + "\n";
    if (!fault.empty()) settings += "SimFault=" + fault + ":" + std::to_string(status) + "\n";
    testsupport::WriteFile(ini, settings);
    ProcessRun process;
    process.arguments = {"=" + ini.string()};
    process.arguments.insert(process.arguments.end(), rules.arguments.begin(),
                             rules.arguments.end());
    for (const char* argument : {"-id", "collector.id", "-password", "acme-collect", "-o"}) {
        process.arguments.push_back(argument);
    }
    process.arguments.push_back(run.Output().string());
    process.errorFile = run.Errors();
    return process;
}

RunOutcome ReadOutcome(const CaseFolder& run, int exitCode) {
    RunOutcome outcome;
    outcome.exitCode = exitCode;
    for (const auto& entry : fs::directory_iterator(run.Output())) {
        const std::string name = entry.path().filename().string();
        if (name == "log.txt") {
            outcome.log = testsupport::LogLines(entry.path());
        } else {
            outcome.files[name] = testsupport::ReadFile(entry.path());
        }
    }
    if (fs::exists(run.Report())) {
        outcome.report = nlohmann::json::parse(testsupport::ReadFile(run.Report()), nullptr, false);
    }
    outcome.errors = testsupport::ReadFile(run.Errors());
    return outcome;
}

// The checks every run shares: exit code 0, a report without open handles or misuses (a run
// whose runtime never started writes none), nothing on standard error.
void CheckBookkeeping(const RunOutcome& outcome) {
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.errors, "");
    if (outcome.report) testsupport::ExpectEveryHandleReleased(*outcome.report);
}

unsigned Parallelism() { return std::max(2u, std::thread::hardware_concurrency()) * 2; }

// A call fails once with each status of its operation in turn, and once more with the next one
// flagged (the top two bits set); statuses that no call reaches fail the first call.
struct Injection {
    unsigned call;
    InjectedStatus injected;
};

std::vector<Injection> InjectionsOf(const std::vector<InjectedStatus>& statuses, unsigned calls) {
    std::vector<Injection> injections;
    const auto add = [&](unsigned call, std::size_t index, bool flagged) {
        const InjectedStatus& chosen = statuses[index % statuses.size()];
        injections.push_back({call, {chosen.status | (flagged ? 0xC000u : 0u), chosen.text}});
    };
    for (unsigned call = 1; call <= calls; ++call) {
        add(call, 2 * (call - 1), false);
        add(call, 2 * (call - 1) + 1, true);
    }
    for (std::size_t index = 2 * calls; index < statuses.size(); ++index) add(1, index, false);
    return injections;
}

}  // namespace

std::string NotesErrorLine(const std::string& format, const InjectedStatus& injected) {
    std::string reason;
    if (injected.text != nullptr) {
        reason = injected.text;
    } else {
        char number[16];
        std::snprintf(number, sizeof number, "status 0x%04X", injected.status);
        reason = number;
    }
    std::string message = format;
    message.replace(message.find("%s"), 2, reason);
    return "#ERROR# - " + message;
}

SweepCount SweepMode(const ModeRules& rules) {
    const testsupport::ScratchDir scratch;
    const fs::path environment = scratch / "env";
    PrepareEnvironment(environment);

    const CaseFolder cleanFolder{scratch / "clean"};
    std::vector<ProcessRun> cleanRun{PrepareRun(environment, cleanFolder, rules, "")};
    RunAll(cleanRun, 1);
    const RunOutcome clean = ReadOutcome(cleanFolder, cleanRun[0].exitCode);
    {
        SCOPED_TRACE("clean run");
        CheckBookkeeping(clean);
        EXPECT_EQ(clean.log, std::vector<std::string>{});
    }
    SweepCount count;
    if (!clean.report || clean.report->is_discarded()) {
        ADD_FAILURE() << "the clean run wrote no report";
        return count;
    }
    count.calls = (*clean.report)["calls"].get<std::map<std::string, unsigned>>();

    // Every call with statuses of its operation, plain and with the library's two flag bits
    // set, which must change nothing but the number a failed start shows.
    struct Case {
        std::string operation;
        Injection injection;
        CaseFolder folder;
    };
    std::vector<Case> cases;
    std::vector<ProcessRun> runs;
    for (const auto& [operation, calls] : count.calls) {
        const auto rule = rules.operations.find(operation);
        if (rule == rules.operations.end()) {
            ADD_FAILURE() << "the mode calls " << operation << ", whose failure is not stated";
            continue;
        }
        if (!rule->second) continue;  // documented never to fail
        const std::vector<InjectedStatus>& statuses = StatusesOf(operation);
        if (statuses.empty()) {
            ADD_FAILURE() << operation << " has no statuses of the reference to fail with";
            continue;
        }
        for (const Injection& injection : InjectionsOf(statuses, calls)) {
            cases.push_back({operation, injection,
                             {scratch / ("case-" + std::to_string(cases.size()))}});
            runs.push_back(PrepareRun(environment, cases.back().folder, rules,
                                      operation + "#" + std::to_string(injection.call),
                                      injection.injected.status));
        }
    }
    RunAll(runs, Parallelism());

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& faultCase = cases[i];
        const unsigned call = faultCase.injection.call;
        SCOPED_TRACE("SimFault=" + faultCase.operation + "#" + std::to_string(call) + ":" +
                     std::to_string(faultCase.injection.injected.status));
        const RunOutcome outcome = ReadOutcome(faultCase.folder, runs[i].exitCode);
        CheckBookkeeping(outcome);
        if (outcome.report) {
            // The failing call was made: the fault did not go unused.
            EXPECT_GE((*outcome.report)["calls"].value(faultCase.operation, 0u), call);
        }
        const Expectation expected = (*rules.operations.at(faultCase.operation))(
            call, clean, faultCase.injection.injected);
        EXPECT_EQ(outcome.log, expected.log);
        EXPECT_EQ(expected.files(clean, outcome), "");
    }
    count.cases = cases.size();
    return count;
}

}  // namespace sweep
