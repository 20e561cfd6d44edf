#include "tests/logscan/LogScanRun.h"

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

void LogScanRun::WriteStream(const std::vector<std::string>& lines) {
    std::string content;
    for (const std::string& line : lines) content += line + "\n";
    WriteFile(Environment() / "log.nsf.activity.jsonl", content);
}

testsupport::ProcessResult LogScanRun::Run(const std::vector<std::string>& options,
                                           testsupport::ProcessOptions process) {
    std::vector<std::string> arguments = {"-logscan"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    return acme_.Run(arguments, process);
}

std::string LogScanRun::Rows() const { return ReadFile(Output() / "logscan.txt"); }

}  // namespace logscantest
