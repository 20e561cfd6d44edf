// HandleActivityRecord on 10-item records against a plain fprintf of the same rows.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "logscan/ActivityRecordHandler.h"
#include "logscan/ActivityScanContext.h"
#include "notessim/ItemTable.h"
#include "notessim/TextCopy.h"

namespace {

using Value = std::variant<std::string, double>;

struct Record {
    const char* type;
    const char* format;  // the row format of the type
    notes::TimeDate time;
    std::vector<std::pair<std::string, Value>> items;  // ten, the row's own ones among them
    std::vector<std::string> columns;                  // the row's item names, in format order
    std::string table;
    std::vector<std::string> fields;  // the baseline's finished fields
};

std::vector<Record> MakeRecords() {
    std::vector<Record> records = {
        {"Domino.NOTES.Database", "%s,%s,%s,%s,,%s,%s,%s,%s,%s,%s,%s\n", {{0x002BF5C3, 0x00258EC0}},
         {{"DatabaseName", "apps/db000417.nsf"}, {"UserName", "CN=Chlo\xC3\xA9 M\xC3\xBCller/O=Big"},
          {"SessionId", "S00417391"}, {"EventType", "Open"}, {"DocumentsRead", 125.0},
          {"DocumentsWritten", 3.0}, {"ServerName", "CN=Hub01/O=Big"}, {"Protocol", "NRPC"},
          {"ClientVersion", "Release 12.0.2"}, {"BytesRead", 1048576.0}},
         {"", "DatabaseName", "UserName", "", "$type", "$time", "SessionId", "EventType",
          "DocumentsRead", "DocumentsWritten", "ServerName"},
         {},
         {}},
        {"Domino.HTTP", "%s,%s,%s,%s,%s,%s,%s,%s,%s,,\n", {{0x002BF732, 0x00258EC0}},
         {{"RequestLine", "GET /apps/db268.nsf?OpenDocument&Start=1&Count=30 HTTP/1.1"},
          {"AuthUser", "Jon O'Neil"}, {"Partner", "10.0.117.3"},
          {"URITranslated", "/apps/db268.nsf"}, {"UserAgent", "Notes/12.0, \"quoted\""},
          {"StatusCode", 200.0}, {"ContentLength", 5321.0}, {"Referer", "https://big.example/"},
          {"ServerAddress", "10.0.0.1"}, {"Method", "GET"}},
         {"", "RequestLine", "AuthUser", "Partner", "URITranslated", "$type", "$time", "UserAgent",
          "StatusCode"},
         {},
         {}},
        {"Domino.AGENT", "%s,%s,%s,%s,%s,%s,%s,,,,\n", {{0x002BF733, 0x00258EC0}},
         {{"DatabaseName", "apps/db000418.nsf"}, {"UserName", "CN=Eve Larsson/O=Big"},
          {"TaskName", "Agent 12"}, {"ElapsedRunTime", 29.97}, {"AgentName", "Nightly cleanup"},
          {"Trigger", "Scheduled"}, {"DocumentsProcessed", 412.0}, {"RunAs", "CN=Hub01/O=Big"},
          {"ServerName", "CN=Hub01/O=Big"}, {"Result", "Completed"}},
         {"", "DatabaseName", "UserName", "TaskName", "ElapsedRunTime", "$type", "$time"},
         {},
         {}},
    };
    for (Record& record : records) {
        std::vector<notessim::SimItem> items;
        for (const auto& [name, value] : record.items) {
            notessim::SimItem item{name, notes::kTypeText, {}};
            if (const auto* text = std::get_if<std::string>(&value)) {
                item.value = notessim::Utf8ToLibraryText(*text);
            } else {
                item.type = notes::kTypeNumber;
                const double number = std::get<double>(value);
                item.value.assign(reinterpret_cast<const char*>(&number), sizeof number);
            }
            items.push_back(std::move(item));
        }
        std::vector<const notessim::SimItem*> pointers;
        for (const auto& item : items) pointers.push_back(&item);
        record.table = notessim::BuildItemTable(pointers);

        char time[17];
        std::snprintf(time, sizeof time, "%.8X%.8X", record.time.innards[1], record.time.innards[0]);
        for (const std::string& column : record.columns) {
            std::string field;
            if (column == "$type") field = record.type;
            if (column == "$time") field = time;
            for (const auto& [name, value] : record.items) {
                if (name != column) continue;
                if (const auto* text = std::get_if<std::string>(&value)) {
                    field = *text;
                } else {
                    char number[40];
                    std::snprintf(number, sizeof number, "%.15G", std::get<double>(value));
                    field = number;
                }
                if (field.find_first_of(",\"\n\r") != std::string::npos) {
                    std::string quoted = "\"";
                    for (const char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                    field = quoted + "\"";
                }
            }
            record.fields.push_back(field);
        }
    }
    return records;
}

const std::vector<Record> kRecords = MakeRecords();

// The baseline's printf arguments, ready before the clock runs.
std::vector<std::array<const char*, 11>> MakeArguments() {
    std::vector<std::array<const char*, 11>> arguments;
    for (const Record& record : kRecords) {
        std::array<const char*, 11> fields;
        fields.fill("");
        for (std::size_t i = 0; i < record.fields.size(); ++i) fields[i] = record.fields[i].c_str();
        arguments.push_back(fields);
    }
    return arguments;
}

const std::vector<std::array<const char*, 11>> kArguments = MakeArguments();

void HandleRecords(std::FILE* output) {
    logscan::ActivityScanContext context;
    context.output = output;
    for (const Record& record : kRecords) {
        logscan::HandleActivityRecord(record.type, 0, 0, nullptr, &record.time,
                                      record.table.data(), &context);
    }
}

void PrintRecords(std::FILE* output) {
    for (std::size_t i = 0; i < kRecords.size(); ++i) {
        const auto& f = kArguments[i];
        std::fprintf(output, kRecords[i].format, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8],
                     f[9], f[10]);
    }
}

// Both sides must print the same bytes, or the comparison means nothing.
bool SameRows() {
    char* ours = nullptr;
    char* plain = nullptr;
    std::size_t oursSize = 0;
    std::size_t plainSize = 0;
    std::FILE* a = open_memstream(&ours, &oursSize);
    std::FILE* b = open_memstream(&plain, &plainSize);
    HandleRecords(a);
    PrintRecords(b);
    std::fclose(a);
    std::fclose(b);
    const bool same = std::string(ours, oursSize) == std::string(plain, plainSize);
    if (!same) std::fprintf(stderr, "rows differ:\n%.*s---\n%.*s", int(oursSize), ours, int(plainSize), plain);
    std::free(ours);
    std::free(plain);
    return same;
}

void Rows(benchmark::State& state, void (*print)(std::FILE*)) {
    if (!SameRows()) {
        state.SkipWithError("the baseline's rows differ from the handler's");
        return;
    }
    std::FILE* output = std::fopen("/dev/null", "w");
    for (auto _ : state) print(output);
    std::fclose(output);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords.size()));
}

void HandleActivityRecordRows(benchmark::State& state) { Rows(state, HandleRecords); }
void PlainFprintfRows(benchmark::State& state) { Rows(state, PrintRecords); }

BENCHMARK(HandleActivityRecordRows);
BENCHMARK(PlainFprintfRows);

}  // namespace
