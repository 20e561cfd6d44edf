#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/logscan/LogScanRun.h"

namespace logscantest {
namespace {

using testsupport::ReadFile;

std::string Time(int n) {
    char text[17];
    std::snprintf(text, sizeof text, "00258EC0%08X", n);
    return text;
}

std::string Agent(int n) {
    return Record("Domino.AGENT", Time(n), R"([["TaskName", "t"], ["UserName", "u"]])");
}

std::size_t CountRows(const std::string& rows) {
    return static_cast<std::size_t>(std::count(rows.begin(), rows.end(), '\n'));
}

using ActivityLogExportEndToEnd = LogScanRun;

TEST_F(ActivityLogExportEndToEnd, RowsMatchTheColumnsOfEachType) {
    WriteStream({
        Record("Domino.NOTES.Database", Time(1),
               R"([["DatabaseName", "apps/sales, 2026.nsf"], ["UserName", "CN=Jürgen Müller/O=Acme"],
                   ["SessionId", "S\"1\""], ["EventType", 3], ["DocumentsRead", 0.5],
                   ["DocumentsWritten", 1234.5], ["ServerName", "CN=Hub01/O=Acme"]])"),
        Record("Domino.HTTP", Time(2),
               R"([["RequestLine", "GET /a,b HTTP/1.1"], ["AuthUser", ""], ["Partner", "10.0.0.1"],
                   ["URITranslated", "/x"], ["UserAgent", "Mozilla\nGecko"], ["StatusCode", 404]])"),
        "",
        Record("Domino.AGENT", "2026-12-01T09:30:00.25Z",
               R"([["UserName", "李雷"], ["TaskName", "Clean\nup\r"], ["ElapsedRunTime", 1e20],
                   ["Flags", {"type": 1, "hex": "00"}]])"),
        Record("Domino.IMAP", Time(4), R"([["UserName", "u"], ["DatabaseName", "d"]])"),
        Record("Domino.HTTP", Time(5), R"([["RequestLine", "GET /"]])"),
        Record("domino.agent", Time(6), R"([["TaskName", "t"], ["UserName", "u"]])"),
    });
    EXPECT_EQ(Run().exitCode, 0);
    EXPECT_EQ(Rows(),
              ",\"apps/sales, 2026.nsf\",CN=J\xC3\xBCrgen M\xC3\xBCller/O=Acme,,,Domino.NOTES.Database,"
              "00258EC000000001,\"S\"\"1\"\"\",3,0.5,1234.5,CN=Hub01/O=Acme\r\n"
              ",\"GET /a,b HTTP/1.1\",NULL,10.0.0.1,/x,Domino.HTTP,00258EC000000002,"
              "\"Mozilla\r\nGecko\",404,,\r\n"
              ",,\xE6\x9D\x8E\xE9\x9B\xB7,\"Clean\r\nup\r\",1E+20,Domino.AGENT,"
              "00258EC000342F79,,,,\r\n");
    EXPECT_TRUE(Log().empty());
    ExpectHandlesReleased();
}

TEST_F(ActivityLogExportEndToEnd, SampleLogGivesOneRowPerCompleteRecordOfTheThreeTypes) {
    std::size_t expected = 0;
    std::istringstream stream(ReadFile(Environment() / "log.nsf.activity.jsonl"));
    const std::map<std::string, std::pair<std::string, std::string>> required = {
        {"Domino.NOTES.Database", {"DatabaseName", "UserName"}},
        {"Domino.HTTP", {"RequestLine", "AuthUser"}},
        {"Domino.AGENT", {"TaskName", "UserName"}}};
    for (std::string line; std::getline(stream, line);) {
        if (line.empty()) continue;
        const auto record = nlohmann::json::parse(line);
        const auto names = required.find(record["type"].get<std::string>());
        if (names == required.end()) continue;
        std::set<std::string> present;
        for (const auto& item : record["items"]) present.insert(item[0].get<std::string>());
        expected += present.contains(names->second.first) && present.contains(names->second.second);
    }

    EXPECT_EQ(Run().exitCode, 0);
    const std::vector<CsvRow> rows = ParseRows(Rows());
    EXPECT_EQ(rows.size(), expected);
    EXPECT_GT(expected, 200u);
    std::string previous;
    for (const CsvRow& row : rows) {
        ASSERT_GE(row.size(), 7u);
        EXPECT_EQ(row.size(), row[5] == "Domino.NOTES.Database" ? 12u : 11u) << row[5];
        EXPECT_EQ(row[0], "");
        EXPECT_EQ(row[6].find_first_not_of("0123456789ABCDEF"), std::string::npos);
        EXPECT_EQ(row[6].size(), 16u);
        EXPECT_LE(previous, row[6]);
        previous = row[6];
    }
    EXPECT_TRUE(Log().empty());
}

TEST_F(ActivityLogExportEndToEnd, RowLimitStopsOnlyBetweenDifferentTimes) {
    WriteStream({Agent(1), Agent(2), Agent(3), Agent(3), Agent(4), Agent(5)});
    Run({"-rowLimit", "3"});
    EXPECT_EQ(CountRows(Rows()), 4u);
    EXPECT_TRUE(Log().empty());
    ExpectHandlesReleased();
}

// What the library returns once the row limit stopped its scan is not documented: 413 with its
// flag bits, or even 0, changes no byte of the output; only -debug tells which it was.
TEST_F(ActivityLogExportEndToEnd, WhateverTheLibraryReturnsAfterTheRowLimitStoppedItTheRowsStay) {
    WriteStream({Agent(1), Agent(2), Agent(3), Agent(3), Agent(4), Agent(5)});
    Run({"-rowLimit", "3"});
    const std::string rows = Rows();
    ASSERT_EQ(CountRows(rows), 4u);
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"0xC19D", {"#DEBUG# - Notes library call LogEnumActivityStream returned C19D"}},
        {"0",
         {"#DEBUG# - The row limit stopped the activity scan with 413; the library returned 0"}},
    };
    for (const auto& [status, debugLines] : cases) {
        acme_.ReplaceIniLines("SimScanStopStatus=" + status + "\n");
        for (const bool debug : {false, true}) {
            std::filesystem::remove(Output() / "log.txt");
            ASSERT_EQ(Run(debug ? std::vector<std::string>{"-rowLimit", "3", "-debug"}
                                : std::vector<std::string>{"-rowLimit", "3"})
                          .exitCode,
                      0);
            EXPECT_EQ(Rows(), rows) << status;
            EXPECT_EQ(Log(), debug ? debugLines : std::vector<std::string>{})
                << status;
            ExpectHandlesReleased();
        }
    }
}

TEST_F(ActivityLogExportEndToEnd, RowLimitIsReadLikeWcstolWithoutWrapping) {
    std::vector<std::string> records;
    for (int n = 1; n <= 20; ++n) records.push_back(Agent(n));
    WriteStream(records);
    const std::vector<std::pair<std::string, std::size_t>> cases = {
        {"12abc", 12}, {" +3", 3}, {"abc", 20}, {"-5", 20}, {"0", 20}, {"4294967297", 20}};
    for (const auto& [limit, rows] : cases) {
        Run({"-rowLimit", limit});
        EXPECT_EQ(CountRows(Rows()), rows) << limit;
    }
    EXPECT_TRUE(Log().empty());
}

TEST_F(ActivityLogExportEndToEnd, ARowTimeGivenAsStartBeginsTheScanAtThatRow) {
    Run();
    const std::string all = Rows();
    const std::vector<CsvRow> rows = ParseRows(all);
    ASSERT_GT(rows.size(), 100u);
    std::size_t from = 100;
    while (rows[from][6] == rows[from - 1][6]) ++from;
    std::string expected;
    for (std::size_t i = from; i < rows.size(); ++i) expected += rows[i][6];

    std::string lower = rows[from][6];
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return std::tolower(c); });
    for (const std::string& start : {rows[from][6], lower}) {
        Run({"-start", start});
        const std::string rowsFrom = Rows();
        std::string times;
        for (const CsvRow& row : ParseRows(rowsFrom)) times += row[6];
        EXPECT_EQ(times, expected) << start;
        EXPECT_TRUE(all.ends_with(rowsFrom));
    }
    EXPECT_TRUE(Log().empty());
}

TEST_F(ActivityLogExportEndToEnd, StartPastEveryRecordGivesAnEmptyFileAndNoLogLine) {
    Run({"-start", "00FFFFFFFFFFFFFF"});
    EXPECT_TRUE(std::filesystem::exists(Output() / "logscan.txt"));
    EXPECT_EQ(Rows(), "");
    EXPECT_FALSE(std::filesystem::exists(Output() / "log.txt"));
}

TEST_F(ActivityLogExportEndToEnd, LocalServerWordIsExactAndCaseSensitive) {
    Run();
    const std::string local = Rows();
    Run({"-s", "<Local>"});
    EXPECT_EQ(Rows(), local);
    EXPECT_TRUE(Log().empty());

    Run({"-s", "<local>"});
    EXPECT_EQ(Rows(), "");
    EXPECT_EQ(Log(), std::vector<std::string>{"#ERROR# - Error accessing activity stream (" +
                                              testsupport::kServerNotFoundText + ")"});
    EXPECT_EQ(acme_.Diagnostics(),
              std::vector<std::string>{"0x0803: Unable to find path to server <local>"});
    ExpectHandlesReleased();
}

TEST_F(ActivityLogExportEndToEnd, DatabaseFromPOption) {
    std::filesystem::create_directories(Environment() / "logs");
    std::filesystem::copy_file(Environment() / "log.nsf", Environment() / "logs/old.nsf");
    testsupport::WriteFile(Environment() / "logs/old.nsf.activity.jsonl", Agent(9) + "\n");
    Run({"-p", "logs/old.nsf"});
    EXPECT_EQ(Rows(), ",,u,t,,Domino.AGENT,00258EC000000009,,,,\r\n");
}

}  // namespace
}  // namespace logscantest
