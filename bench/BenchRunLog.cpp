// LogMessage against a plain open, fwrite and close of the same line.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "platform/Text.h"

namespace {

const std::filesystem::path kDir = std::filesystem::temp_directory_path() / "dxlbench-runlog";
const std::u16string kMessage = u"Retrying move DXL file into place: 3 (\u00e9t\u00e9)";

void LogMessageLine(benchmark::State& state) {
    std::filesystem::create_directories(kDir);
    driver::Settings().outputDir = platform::Utf8ToUtf16(kDir.string());
    for (auto _ : state) driver::LogMessage(driver::kLogError, kMessage);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kMessage.size() + 12));
    std::filesystem::remove_all(kDir);
}
BENCHMARK(LogMessageLine);

void PlainFwriteLine(benchmark::State& state) {
    std::filesystem::create_directories(kDir);
    const std::string line = "#ERROR# - " + platform::Utf16ToUtf8(kMessage) + "\r\n";
    const std::string path = (kDir / "log.txt").string();
    for (auto _ : state) {
        std::FILE* file = std::fopen(path.c_str(), "ab");
        std::fwrite(line.data(), 1, line.size(), file);
        std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
    std::filesystem::remove_all(kDir);
}
BENCHMARK(PlainFwriteLine);

}  // namespace
