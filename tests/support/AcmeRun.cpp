#include "tests/support/AcmeRun.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace testsupport {

AcmeRun::AcmeRun(const std::string& iniLines, const char* mailServer)
    : environment_(scratch_ / "env"), output_(scratch_ / "out"), ini_(environment_ / "test.ini") {
    CopyExample("acme", environment_);
    std::filesystem::create_directories(output_);
    std::string ini = "[Notes]\nDirectory=.\n";
    if (mailServer != nullptr) ini += std::string("MailServer=") + mailServer + "\n";
    ini += "SimReport=" + (scratch_ / "report.json").string() + "\n" + iniLines;
    WriteFile(ini_, ini);
}

ProcessResult AcmeRun::Run(const std::vector<std::string>& arguments, ProcessOptions options) const {
    std::vector<std::string> all = {"=" + ini_.string()};
    all.insert(all.end(), arguments.begin(), arguments.end());
    all.push_back("-o");
    all.push_back(output_.string());
    options.workingDirectory = scratch_.path();
    return RunExporter(all, options);
}

std::vector<std::string> AcmeRun::Log() const {
    if (!std::filesystem::exists(OutputFile("log.txt"))) return {};
    return LogLines(OutputFile("log.txt"));
}

void AcmeRun::ExpectEveryHandleReleased() const {
    const auto report = nlohmann::json::parse(ReadFile(scratch_ / "report.json"), nullptr, false);
    ASSERT_TRUE(report.is_object()) << "no runtime report";
    EXPECT_EQ(report["openHandles"].size(), 0u) << report.dump();
    EXPECT_EQ(report["misuses"].size(), 0u) << report.dump();
}

}  // namespace testsupport
