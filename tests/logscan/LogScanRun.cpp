#include "tests/logscan/LogScanRun.h"

#include <nlohmann/json.hpp>

namespace logscantest {

using testsupport::ReadFile;
using testsupport::WriteFile;

std::string Record(const std::string& type, const std::string& time, const std::string& items) {
    std::string line = R"({"type": ")" + type + R"(", "time": ")" + time + R"(", "items": )";
    for (const char c : items) {
        if (c != '\n') line += c;  // items may be written over several source lines
    }
    return line + "}";
}

std::vector<CsvRow> ParseRows(const std::string& content) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (quoted) {
            if (c == '"' && i + 1 < content.size() && content[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    EXPECT_TRUE(row.empty() && field.empty() && !quoted) << "the last row has no CR LF";
    return rows;
}

void LogScanRun::SetUp() {
    testsupport::CopyExample("acme", Environment());
    std::filesystem::create_directories(Output());
}

void LogScanRun::AddIniLine(const std::string& line) { iniLines_.push_back(line); }

void LogScanRun::WriteStream(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) content += line + "\n";
    WriteFile(Environment() / "log.nsf.activity.jsonl", content);
}

testsupport::ProcessResult LogScanRun::Run(const std::vector<std::string>& options,
                                           testsupport::ProcessOptions process) {
    std::string ini = ReadFile(Environment() / "notes.ini");
    ini += "SimReport=" + (scratch_ / "report.json").string() + "\n";
    for (const std::string& line : iniLines_) ini += line + "\n";
    WriteFile(Environment() / "test.ini", ini);
    std::filesystem::remove(scratch_ / "report.json");
    std::vector<std::string> arguments = {"=" + (Environment() / "test.ini").string(), "-logscan",
                                          "-o", Output().string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return testsupport::RunExporter(arguments, process);
}

std::string LogScanRun::Rows() const { return ReadFile(Output() / "logscan.txt"); }

std::vector<std::string> LogScanRun::Log() const {
    if (!std::filesystem::exists(Output() / "log.txt")) return {};
    return testsupport::LogLines(Output() / "log.txt");
}

void LogScanRun::ExpectHandlesReleased() const {
    const auto report = nlohmann::json::parse(ReadFile(scratch_ / "report.json"), nullptr, false);
    ASSERT_TRUE(report.is_object()) << "no runtime report";
    EXPECT_EQ(report["openHandles"], nlohmann::json::array());
    EXPECT_EQ(report["misuses"], nlohmann::json::array());
}

}  // namespace logscantest
