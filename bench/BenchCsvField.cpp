// QuoteCsvField against a plain copy of the same field bytes, on values that need no quoting and
// on values that do.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "logscan/CsvField.h"

namespace {

// Values as activity rows carry them: paths, names, request lines, agents, numbers.
const std::vector<std::string> kPlainValues = {
    "apps/db000417.nsf",
    "CN=Chlo\xC3\xA9 M\xC3\xBCller/OU=Sales/O=Big",
    "GET /apps/db268.nsf?OpenDocument&Start=1&Count=30 HTTP/1.1",
    "Mozilla/5.0 (X11; Linux x86_64; rv:128.0) Gecko/20100101 Firefox/128.0",
    "10.0.117.3",
    "S00417391",
    "1234.5",
    "/apps/db417.nsf/By%20Date/4A2B?OpenDocument",
};

const std::vector<std::string> kQuotedValues = {
    "Database 417, \"Sales\" & friends",
    "Notes/12.0, \"quoted\"",
    "GET /search?q=a,b,c&sort=\"date\" HTTP/1.1",
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko)",
    "line one\nline two, with a comma",
    "\"",
    "O'Neil, Jon",
    "CN=\"Smith, Anna\"/O=Big",
};

std::int64_t TotalBytes(const std::vector<std::string>& values) {
    std::int64_t total = 0;
    for (const std::string& value : values) total += static_cast<std::int64_t>(value.size());
    return total;
}

void Quote(benchmark::State& state, const std::vector<std::string>& values) {
    for (auto _ : state) {
        for (const std::string& value : values) {
            std::string field = logscan::QuoteCsvField(value);
            benchmark::DoNotOptimize(field.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(values));
}

// The baseline copies the finished field bytes into a new string: what any field costs at least.
void PlainCopy(benchmark::State& state, const std::vector<std::string>& values) {
    std::vector<std::string> fields;
    for (const std::string& value : values) fields.push_back(logscan::QuoteCsvField(value));
    for (auto _ : state) {
        for (const std::string& field : fields) {
            std::string copy(field.data(), field.size());
            benchmark::DoNotOptimize(copy.data());
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(values));
}

void QuoteCsvFieldPlain(benchmark::State& state) { Quote(state, kPlainValues); }
void PlainCopyPlain(benchmark::State& state) { PlainCopy(state, kPlainValues); }
void QuoteCsvFieldQuoted(benchmark::State& state) { Quote(state, kQuotedValues); }
void PlainCopyQuoted(benchmark::State& state) { PlainCopy(state, kQuotedValues); }

BENCHMARK(QuoteCsvFieldPlain);
BENCHMARK(PlainCopyPlain);
BENCHMARK(QuoteCsvFieldQuoted);
BENCHMARK(PlainCopyQuoted);

}  // namespace
