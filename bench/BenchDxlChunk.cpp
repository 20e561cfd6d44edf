// AppendDxlChunk with 16 KiB chunks (the file opened, appended to and closed for every chunk)
// against a plain fopen, fwrite and fclose of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "catalog/DxlChunkAppender.h"
#include "driver/RunSettings.h"
#include "platform/Text.h"

namespace {

constexpr std::size_t kChunkBytes = 16384;
// The file starts afresh after this many chunks (4 MiB), outside the timing.
constexpr int kChunksPerFile = 256;

const std::filesystem::path kDir = std::filesystem::temp_directory_path() / "dxlbench-chunks";

// DXL text as the exporter writes it: lines of elements with attributes, ended by LF.
std::string MakeChunk() {
    std::string text;
    for (int note = 0; text.size() < kChunkBytes; ++note) {
        text += "<document form='Notefile'><item name='Pathname'><text>apps/db" +
                std::to_string(note) + ".nsf</text></item>\n<item name='Title'><text>Database " +
                std::to_string(note) + " &amp; friends</text></item></document>\n";
    }
    text.resize(kChunkBytes);
    return text;
}

const std::string kChunk = MakeChunk();

// The bytes the text-mode file receives: every LF as CR LF.
std::string CrLf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

void Chunks(benchmark::State& state, void (*append)(const std::string& path)) {
    std::filesystem::create_directories(kDir);
    driver::Settings().outputDir = platform::Utf8ToUtf16(kDir.string());
    const std::string path = (kDir / "temp.tmp").string();
    int chunks = 0;
    for (auto _ : state) {
        append(path);
        if (++chunks % kChunksPerFile == 0) {
            state.PauseTiming();
            std::filesystem::remove(path);
            // The next chunk starts a new file, as an export does.
            catalog::DxlTemporaryFile() = platform::StagingFile(platform::Utf8ToUtf16(path));
            state.ResumeTiming();
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kChunkBytes));
    std::filesystem::remove_all(kDir);
}

void AppendDxlChunk16KiB(benchmark::State& state) {
    catalog::dxlWriteFailed = false;
    catalog::DxlTemporaryFile() =
        platform::StagingFile(platform::Utf8ToUtf16((kDir / "temp.tmp").string()));
    Chunks(state, [](const std::string&) {
        catalog::AppendDxlChunk(reinterpret_cast<const unsigned char*>(kChunk.data()),
                                static_cast<std::uint32_t>(kChunk.size()),
                                const_cast<char16_t*>(catalog::kDxlTemporaryFileName));
    });
    if (catalog::dxlWriteFailed) state.SkipWithError("a chunk was not written");
}

void PlainFopenFwriteFclose16KiB(benchmark::State& state) {
    static const std::string bytes = CrLf(kChunk);
    Chunks(state, [](const std::string& path) {
        std::FILE* file = std::fopen(path.c_str(), "ab");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    });
}

BENCHMARK(AppendDxlChunk16KiB);
BENCHMARK(PlainFopenFwriteFclose16KiB);

}  // namespace
