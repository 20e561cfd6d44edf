// Runs of "dxlexporter -logscan" on a copy of the sample environment, for end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace logscantest {

// A record line of an activity stream file; `time` is 16 hex digits or a UTC time, `items` the
// JSON list of [name, value] pairs (line breaks in it are dropped).
std::string Record(const std::string& type, const std::string& time, const std::string& items);

// One row of logscan.txt split into fields (quotes removed, doubled quotes undone).
using CsvRow = std::vector<std::string>;
// Splits logscan.txt; fails the test on a row that does not end in CR LF.
std::vector<CsvRow> ParseRows(const std::string& content);

class LogScanRun : public ::testing::Test {
protected:
    void SetUp() override;

    std::filesystem::path Environment() const { return scratch_ / "env"; }
    std::filesystem::path Output() const { return scratch_ / "out"; }
    // Extra notes.ini lines for the next runs (SimFault=...).
    void AddIniLine(const std::string& line);
    void WriteStream(const std::vector<std::string>& lines);

    testsupport::ProcessResult Run(const std::vector<std::string>& options = {},
                                   testsupport::ProcessOptions process = {});
    std::string Rows() const;
    std::vector<std::string> Log() const;
    // The runtime's report of the last run: no handle left open, no handle misused.
    void ExpectHandlesReleased() const;

    testsupport::ScratchDir scratch_;
    std::vector<std::string> iniLines_;
};

}  // namespace logscantest
