// The program that loads the Notes library writes, byte for byte, what its modes write in this
// process over the simulated runtime linked in: every mode, with view batches and DXL chunks of
// every size, and with a library that delivers everything a real one may. The loaded runs leave
// no handle open and misuse none.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/AcmeRun.h"
#include "tests/support/InProcessRun.h"
#include "tests/support/TestSupport.h"

namespace {

using testsupport::ReadFile;

std::map<std::string, std::string> Files(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files[entry.path().filename().string()] = ReadFile(entry.path());
    }
    return files;
}

void ExpectSameOutputs(const std::string& settings,
                       const std::function<void(const std::filesystem::path&)>& prepare = {}) {
    const testsupport::AcmeRun run(settings);
    if (prepare) prepare(run.environment());
    const std::vector<std::vector<std::string>> modes = {
        {"-catalog", "-s", "Hub01/Acme"}, {"-brenvik", "-p", "acme-catalog.nsf"},
        {"-logscan"}, {"-logscan", "-s", "<Local>", "-rowLimit", "7"}, {"-nab"}, {"-servers"},
        {"-nab", "-id", "collector.id", "-password", "wrong"}};
    for (std::size_t i = 0; i < modes.size(); ++i) {
        std::map<std::string, std::string> outputs[2];
        for (int linked = 0; linked < 2; ++linked) {
            const std::filesystem::path output =
                run.scratch() / (std::to_string(i) + "-" + std::to_string(linked));
            std::filesystem::create_directories(output);
            const std::vector<std::string> arguments = run.Arguments(modes[i], output);
            if (linked == 1) {
                ASSERT_EQ(testsupport::RunMainInProcess(arguments), 0);
            } else {
                ASSERT_EQ(testsupport::RunExporter(arguments).exitCode, 0);
                testsupport::ExpectEveryHandleReleased(run.report(), modes[i][0]);
            }
            outputs[linked] = Files(output);
        }
        EXPECT_FALSE(outputs[0].empty()) << modes[i][0];
        EXPECT_EQ(outputs[0], outputs[1]) << modes[i][0] << settings;
    }
}

TEST(BoundProgramEndToEnd, EveryModeWritesWhatTheLinkedRuntimeWrites) { ExpectSameOutputs(""); }

TEST(BoundProgramEndToEnd, SmallBatchesAndChunksWriteTheSame) {
    ExpectSameOutputs("SimViewBatch=1\nSimDxlChunk=7\n");
}

// Non-matching notes and a deletion stub from every search, an empty buffer where a view read
// returns nothing (the ($Servers) view is emptied for it), the last name match again after the
// last: the program writes what it writes without them.
TEST(BoundProgramEndToEnd, WhatARealLibraryMayAlsoDeliverChangesNoOutput) {
    ExpectSameOutputs("SimExtendedDelivery=1\n", [](const std::filesystem::path& data) {
        auto names = nlohmann::json::parse(ReadFile(data / "names.nsf"));
        names["views"]["($Servers)|Servers"] = nlohmann::json::array();
        testsupport::WriteFile(data / "names.nsf", names.dump());
    });
}

}  // namespace
