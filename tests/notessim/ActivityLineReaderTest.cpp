// The common form's reading of activity lines against the reading through a JSON tree: a line it
// takes must give the very record the JSON reading gives.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "notessim/ActivityLineReader.h"
#include "notessim/ActivityRecord.h"

namespace notessim {
namespace {

bool SameRecord(const ActivityRecord& a, const ActivityRecord& b) {
    if (a.type != b.type || a.time.Innards[0] != b.time.Innards[0] ||
        a.time.Innards[1] != b.time.Innards[1] || a.items.size() != b.items.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        if (a.items[i].name != b.items[i].name || a.items[i].type != b.items[i].type ||
            a.items[i].value != b.items[i].value) {
            return false;
        }
    }
    return true;
}

// True when the common reading took the line; a taken line must agree with the JSON reading.
bool TakenAndAgreed(const std::string& line) {
    ActivityRecord common;
    common.items.resize(9);  // left over from a longer line before
    if (!ReadCommonActivityLine(line, common)) return false;
    ActivityRecord json;
    std::string error;
    EXPECT_TRUE(ParseActivityRecordAsJson(line, json, error)) << line << ": " << error;
    EXPECT_TRUE(SameRecord(common, json)) << line;
    return true;
}

std::string Line(const std::string& items) {
    return R"({"type":"Domino.HTTP","time":"00258EC0002BF3E9","items":)" + items + "}";
}

TEST(ActivityLineReader, TakesTheCommonFormAsTheJsonReadingDoes) {
    const std::vector<std::string> lines = {
        Line(R"([["RequestLine","GET /apps/db1.nsf?Open&x=1 HTTP/1.1"],["StatusCode",200.0]])"),
        R"({"items":[["N",1]],"time":"2026-12-01T09:30:00.25Z","type":"Domino.AGENT"})",
        " {\t\"type\" : \"A\" ,\r\n \"time\":\"0000000100000002\" , \"items\" : [ [ \"N\" , \"v\" ] ] }  ",
        R"({"type":"A","time":"0000000100000002"})",
        Line("[]"),
        Line(R"([["UserAgent","Notes/12.0, \"quoted\""],["P","a\\b\/c\b\f\n\r\t"]])"),
        Line("[[\"UserName\",\"CN=Chlo\xC3\xA9 M\xC3\xBCller/O=Big\"],[\"Z\",\"\xE4\xB8\xAD \xF0\x9F\x98\x80\"]]"),
        Line("[[\"Caf\xC3\xA9\",\"\\\"\xC3\xA9\\\"\"]]"),
        Line(R"([["List",["a","b,c",""]],["Empty",[]],["One",["\"x\""]]])"),
        Line(R"([["a",0],["b",-0],["c",-0.0],["d",1e5],["e",1E+5],["f",1.5e-3],["g",0.1]])"),
        Line(R"([["a",18446744073709551615],["b",-9223372036854775808],["c",9007199254740993]])"),
        Line(R"([["a",123.456e-7],["b",-1.0e300],["c",4.9e-324]])"),
        Line(R"([["",""],["dup",1],["dup",2]])"),
    };
    for (const std::string& line : lines) EXPECT_TRUE(TakenAndAgreed(line)) << line;
}

TEST(ActivityLineReader, LeavesEverythingElseToTheJsonReading) {
    const std::vector<std::string> lines = {
        // valid JSON, not the common form
        Line(R"([["T",{"time":"0000000100000002"}]])"),
        Line(R"([["R",{"type":1,"hex":"00ff"}]])"),
        Line(R"([["U","caf\u00e9 \ud83d\ude00"]])"),
        R"({"typ\u0065":"A","time":"0000000100000002"})",
        R"({"type":"A","type":"B","time":"0000000100000002"})",
        R"({"type":"A","time":"0000000100000002","extra":[1,{"x":null}]})",
        Line(R"([["a",123456789012345678901],["b",-9223372036854775809]])"),
        Line(R"([["a",1e400]])"),
        "\xEF\xBB\xBF" + Line("[]"),
        // not records, or not JSON
        R"({"type":"A"})", R"({"time":"0000000100000002"})", "[1]", "{}", "",
        R"({"type":1,"time":"0000000100000002"})",
        R"({"type":"A","time":"soon"})",
        R"({"type":"A","time":"0000000100000002"} x)",
        R"({"type":"A","time":"0000000100000002",})",
        Line(R"([["a",01]])"), Line(R"([["a",1.]])"), Line(R"([["a",.5]])"), Line(R"([["a",+1]])"),
        Line(R"([["a",-]])"), Line(R"([["a",1e]])"), Line(R"([["a",true]])"), Line(R"([["a",null]])"),
        Line(R"([["a",[1]]])"), Line(R"([["a"]])"), Line(R"([["a",1,2]])"), Line(R"([[1,1]])"),
        Line(R"(null)"), Line(R"([["a","\x"]])"), Line("[[\"a\",\"tab\there\"]]"),
        Line("[[\"a\",\"\xC3\"]]"), Line("[[\"a\",\"\xC0\x80\"]]"), Line("[[\"a\",\"\xED\xA0\x80\"]]"),
        Line("[[\"a\",\"\xF4\x90\x80\x80\"]]"), Line("[[\"a\",\"\xE0\x9F\xBF\"]]"),
        Line(std::string("[[\"a\",\"nul\0\"]]", 14)),
    };
    for (const std::string& line : lines) {
        ActivityRecord record;
        EXPECT_FALSE(ReadCommonActivityLine(line, record)) << line;
    }
}

// Lines of the common form broken and bent at random: whatever the common reading still takes
// must agree with the JSON reading.
TEST(ActivityLineReader, AgreesWithTheJsonReadingOnMutatedLines) {
    const std::string seed = Line(
        "[[\"RequestLine\",\"GET /x?a=1,b=\\\"2\\\" HTTP/1.1\"],[\"AuthUser\",\"J\xC3\xBCrgen\"],"
        "[\"StatusCode\",404.0],[\"Bytes\",-12e3],[\"Targets\",[\"a\",\"\xE2\x82\xAC\"]]]");
    const std::string alphabet = "{}[]\",:\\ 0123456789.eE+-abtnru/\xC3\xA9\xE2\x82\xAC\x01\x7F";
    std::mt19937 random(7);
    int taken = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string line = seed;
        for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
            const std::size_t at = random() % (line.size() + 1);
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
                case 0: line.insert(line.begin() + static_cast<std::ptrdiff_t>(at), c); break;
                case 1: if (at < line.size()) line.erase(at, 1); break;
                default: if (at < line.size()) line[at] = c; break;
            }
        }
        taken += TakenAndAgreed(line);
    }
    EXPECT_GT(taken, 1000);  // the mutations keep many lines in the common form
}

}  // namespace
}  // namespace notessim
