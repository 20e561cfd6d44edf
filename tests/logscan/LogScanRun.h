// Runs of "dxlexporter -logscan" on a copy of the sample environment, for end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/AcmeRun.h"

namespace logscantest {

// A record line of an activity stream file; `time` is 16 hex digits or a UTC time, `items` the
// JSON list of [name, value] pairs (line breaks in it are dropped).
std::string Record(const std::string& type, const std::string& time, const std::string& items);

// One row of logscan.txt split into fields (quotes removed, doubled quotes undone).
using CsvRow = std::vector<std::string>;
// Splits logscan.txt; fails the test on a row that does not end in CR LF.
std::vector<CsvRow> ParseRows(const std::string& content);

// -logscan runs over the sample environment (testsupport::AcmeRun).
class LogScanRun : public ::testing::Test {
protected:
    const std::filesystem::path& Environment() const { return acme_.environment(); }
    const std::filesystem::path& Output() const { return acme_.output(); }
    std::filesystem::path Report() const { return acme_.report(); }
    // Extra notes.ini lines for the next runs (SimFault=...).
    void AddIniLine(const std::string& line) { acme_.AddIniLines(line + "\n"); }
    void WriteStream(const std::vector<std::string>& lines);

    testsupport::ProcessResult Run(const std::vector<std::string>& options = {},
                                   testsupport::ProcessOptions process = {});
    std::string Rows() const;
    std::vector<std::string> Log() const { return acme_.Log(); }
    void ExpectHandlesReleased() const { acme_.ExpectEveryHandleReleased(); }

    testsupport::AcmeRun acme_;
};

}  // namespace logscantest
