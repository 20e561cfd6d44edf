#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "notes/NotesPlatform.h"
#include "notes/NotesStatuses.h"
#include "notessim/SimControl.h"
#include "notessim/Statuses.h"
#include "tests/support/TestSupport.h"

namespace {

// What the callback saw of one record.
struct Delivered {
    std::string type;
    std::uint32_t high = 0;
    std::uint32_t low = 0;
    std::vector<std::pair<std::string, std::string>> items;  // name, value bytes with type word
};

struct Collector {
    std::vector<Delivered> records;
    std::size_t stopAfter = 0;  // 0: never stop
};

std::size_t Word(const unsigned char* at) { return at[0] | (at[1] << 8); }

notes::NotesStatus Collect(const char* type, std::uint32_t, std::uint32_t, const void*,
                           const notes::TimeDate* time, const void* itemTable, void* context) {
    auto& collector = *static_cast<Collector*>(context);
    Delivered record{type, notes::TimeHighWord(time), notes::TimeLowWord(time), {}};
    const auto* table = static_cast<const unsigned char*>(itemTable);
    const std::size_t count = Word(table + 2);
    std::size_t at = 4 + 4 * count;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t name = Word(table + 4 + 4 * i);
        const std::size_t value = Word(table + 6 + 4 * i);
        record.items.emplace_back(std::string(reinterpret_cast<const char*>(table + at), name),
                                  std::string(reinterpret_cast<const char*>(table + at + name), value));
        at += name + value;
    }
    EXPECT_EQ(Word(table), at) << "total length";
    collector.records.push_back(std::move(record));
    return collector.stopAfter != 0 && collector.records.size() == collector.stopAfter
               ? notes::kStatusStopped
               : notes::NotesStatus{0};
}

// A record line at the time 00258EC0:low; line breaks in `items` are dropped.
std::string Line(const std::string& type, std::uint32_t low, const std::string& items = "[]") {
    char time[17];
    std::snprintf(time, sizeof time, "00258EC0%08X", low);
    std::string line = "{\"type\": \"" + type + "\", \"time\": \"" + time + "\", \"items\": ";
    for (const char c : items) {
        if (c != '\n') line += c;
    }
    return line + "}\n";
}

class ActivityStream : public ::testing::Test {
protected:
    void SetUp() override {
        notessim::ResetRuntime();
        notessim::SetVirtualFile("simenv/notes.ini", "Directory=.\n");
        notessim::SetVirtualFile("simenv/servers.json", R"({"CN=Hub01/O=Acme": "hub01"})");
        notessim::SetVirtualFile("simenv/log.nsf", "{}");
        char program[] = "test";
        char ini[] = "=simenv/notes.ini";
        char* argv[] = {program, ini, nullptr};
        ASSERT_EQ(notes::InitializeNotes(2, argv), 0);
    }
    void TearDown() override {
        notes::TerminateNotes();
        EXPECT_TRUE(notessim::OpenHandles().empty());
        EXPECT_TRUE(notessim::HandleMisuses().empty());
    }

    void SetStream(const std::string& content) {
        notessim::SetVirtualFile("simenv/log.nsf.activity.jsonl", content);
    }

    // Opens, scans and closes; the scan's status.
    notes::NotesStatus Scan(const char* filter, const notes::TimeDate* range = nullptr,
                            const char* server = "", const char* database = "log.nsf") {
        notes::ActivityStreamHandle stream = 0;
        const notes::NotesStatus opened =
            notes::OpenActivityStream(&stream, server, database, filter, 0, range);
        if (opened != 0) return opened;
        const notes::NotesStatus status = notes::ScanActivityStream(stream, Collect, &seen_, 0, 0);
        notes::CloseActivityStream(stream);
        return status;
    }

    std::vector<std::string> Types() const {
        std::vector<std::string> types;
        for (const Delivered& record : seen_.records) types.push_back(record.type);
        return types;
    }

    Collector seen_;
};

TEST_F(ActivityStream, DeliversFilteredTypesInFileOrderWithTheirItems) {
    SetStream(Line("Domino.HTTP", 2, R"([["RequestLine", "GET /"], ["StatusCode", 200]])") +
              "\n  \r\n" + Line("Domino.IMAP", 1) + Line("domino.http", 1) +
              Line("Domino.AGENT", 1, R"([["Targets", ["a", "bc"]], ["At", {"time": "0000000100000002"}],
                                          ["Raw", {"type": 1, "hex": "00ff"}], ["", ""]])") +
              Line("Domino.HTTP", 3));
    ASSERT_EQ(Scan("Domino.HTTP|Domino.AGENT"), 0);
    EXPECT_EQ(Types(), (std::vector<std::string>{"Domino.HTTP", "Domino.AGENT", "Domino.HTTP"}));
    const Delivered& http = seen_.records[0];
    EXPECT_EQ(http.high, 0x00258EC0u);
    EXPECT_EQ(http.low, 2u);
    ASSERT_EQ(http.items.size(), 2u);
    EXPECT_EQ(http.items[0], (std::pair<std::string, std::string>{"RequestLine", std::string("\x00\x05GET /", 7)}));
    double code = 200;
    EXPECT_EQ(http.items[1].second, std::string("\x00\x03", 2) + std::string(reinterpret_cast<char*>(&code), 8));

    const Delivered& agent = seen_.records[1];
    ASSERT_EQ(agent.items.size(), 4u);
    EXPECT_EQ(agent.items[0].second, std::string("\x01\x05\x02\x00\x01\x00\x02\x00" "abc", 11));
    EXPECT_EQ(agent.items[1].second, std::string("\x00\x04\x02\x00\x00\x00\x01\x00\x00\x00", 10));
    EXPECT_EQ(agent.items[2].second, std::string("\x01\x00\x00\xff", 4));
    EXPECT_EQ(agent.items[3], (std::pair<std::string, std::string>{"", std::string("\x00\x05", 2)}));
}

TEST_F(ActivityStream, NullOrEmptyFilterDeliversEveryType) {
    SetStream(Line("A", 1) + Line("B", 2));
    ASSERT_EQ(Scan(nullptr), 0);
    ASSERT_EQ(Scan(""), 0);
    EXPECT_EQ(Types(), (std::vector<std::string>{"A", "B", "A", "B"}));
}

TEST_F(ActivityStream, TimeRangeIncludesBothBounds) {
    SetStream(Line("A", 1) + Line("A", 2) + Line("A", 3) + Line("A", 4) + Line("A", 2));
    notes::TimeDate range[2];
    notes::MakeTimeValue(0x00258EC0, 2, &range[0]);
    notes::MakeTimeValue(0x00258EC0, 3, &range[1]);
    ASSERT_EQ(Scan("A", range), 0);
    std::vector<std::uint32_t> lows;
    for (const Delivered& record : seen_.records) lows.push_back(record.low);
    EXPECT_EQ(lows, (std::vector<std::uint32_t>{2, 3, 2}));
}

TEST_F(ActivityStream, MalformedLineEndsTheScanAfterTheRecordsBefore) {
    for (const std::string bad : {"{\"type\": \"A\"", "[1]", "{\"type\": \"A\", \"time\": \"soon\"}",
                                  "{\"time\": \"0000000000000001\"}",
                                  "{\"type\": \"A\", \"time\": \"0000000000000001\", \"items\": [[\"x\", {}]]}",
                                  "{\"type\": \"A\", \"time\": \"0000000000000001\", \"items\": [[\"x\", {\"type\": 1, \"hex\": \"0g\"}]]}"}) {
        seen_.records.clear();
        SetStream(Line("A", 1) + "\n" + bad + "\n" + Line("A", 2));
        const notes::NotesStatus status = Scan("A");
        EXPECT_EQ(status, 0x0206) << bad;  // ERR_STRUCT
        EXPECT_EQ(seen_.records.size(), 1u) << bad;
        const std::string diagnostic = notessim::Diagnostics().back();
        EXPECT_NE(diagnostic.find("simenv/log.nsf.activity.jsonl: line 3: "), std::string::npos)
            << diagnostic;
    }
}

TEST_F(ActivityStream, CallbackStatusEndsTheScanAndIsReturned) {
    SetStream(Line("A", 1) + Line("A", 2) + Line("A", 3));
    seen_.stopAfter = 2;
    EXPECT_EQ(Scan("A"), notes::kStatusStopped);
    EXPECT_EQ(seen_.records.size(), 2u);
}

TEST_F(ActivityStream, MissingStreamIsEmptyWhenTheDatabaseExists) {
    EXPECT_EQ(Scan("A"), 0);
    EXPECT_TRUE(seen_.records.empty());
    EXPECT_EQ(Scan("A", nullptr, "", "other.nsf"), notes::kStatusFileNotFound);
    EXPECT_EQ(Scan("A", nullptr, "", ""), notes::kStatusFileNotFound);
    EXPECT_EQ(Scan("A", nullptr, "", "../simenv/log.nsf"), notes::kStatusFileNotFound);
}

TEST_F(ActivityStream, StreamOnAnotherServer) {
    notessim::SetVirtualFile("simenv/hub01/log.nsf.activity.jsonl", Line("Hub", 1));
    EXPECT_EQ(Scan(nullptr, nullptr, "Hub01/Acme"), 0);
    EXPECT_EQ(Types(), std::vector<std::string>{"Hub"});
    EXPECT_EQ(Scan(nullptr, nullptr, "Nowhere/Acme"), 0x0803);  // ERR_SERVER_NOT_FOUND
    EXPECT_EQ(notessim::Diagnostics().back(), "0x0803: Unable to find path to server Nowhere/Acme");
}

TEST_F(ActivityStream, FaultsFailOpenScanAndDeliveryPartWayThrough) {
    SetStream(Line("A", 1) + Line("A", 2) + Line("A", 3));
    notessim::SetFaults("OpenActivityStream#1:0x0107,DeliverActivityRecord#3:270");
    EXPECT_EQ(Scan("A"), 0x0107);  // ERR_MEMORY
    EXPECT_EQ(Scan("A"), notes::kStatusIoError);
    EXPECT_EQ(seen_.records.size(), 2u);
    notessim::SetFaults("ScanActivityStream:413");
    seen_.records.clear();
    EXPECT_EQ(Scan("A"), notes::kStatusStopped);
    EXPECT_TRUE(seen_.records.empty());
}

TEST_F(ActivityStream, ReadsAFileOnDiskLineByLine) {
    testsupport::ScratchDir scratch;
    testsupport::WriteFile(scratch / "notes.ini", "Directory=.\n");
    testsupport::WriteFile(scratch / "log.nsf", "{}");
    std::string content;
    for (int i = 0; i < 1000; ++i) content += Line(i % 2 ? "A" : "B", i, R"([["N", "x"]])");
    testsupport::WriteFile(scratch / "log.nsf.activity.jsonl", content + Line("A", 5000));
    notes::TerminateNotes();
    const std::string ini = "=" + (scratch / "notes.ini").string();
    char program[] = "test";
    char* argv[] = {program, const_cast<char*>(ini.c_str()), nullptr};
    ASSERT_EQ(notes::InitializeNotes(2, argv), 0);
    ASSERT_EQ(Scan("A"), 0);
    ASSERT_EQ(seen_.records.size(), 501u);
    EXPECT_EQ(seen_.records.back().low, 5000u);
}

// A closed stream's number never reaches the library again: the runtime records no misuse.
TEST_F(ActivityStream, AClosedStreamIsRefusedBeforeTheLibrary) {
    notes::ActivityStreamHandle stream = 0;
    ASSERT_EQ(notes::OpenActivityStream(&stream, "", "log.nsf", nullptr, 0, nullptr), 0);
    EXPECT_EQ(notessim::OpenHandles().size(), 1u);
    notes::CloseActivityStream(stream);
    EXPECT_EQ(notes::ScanActivityStream(stream, Collect, &seen_, 0, 0), 0x02B4);
    notes::CloseActivityStream(stream);
    EXPECT_TRUE(notessim::OpenHandles().empty());
    EXPECT_TRUE(notessim::HandleMisuses().empty());
}

}  // namespace
