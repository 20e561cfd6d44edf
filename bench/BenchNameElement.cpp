// WriteNameElement on directory entries against a plain fwrite of the same element bytes.
#include <benchmark/benchmark.h>

#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "directory/NameElements.h"
#include "notessim/ItemTable.h"
#include "notessim/TextCopy.h"

namespace {

// Person entries as "($People)" summaries hold them: FullName is a text list.
std::vector<std::string> MakeSummaries() {
    const char* const people[][2] = {
        {"CN=Anna Smith 17/O=Big", "Anna Smith 17"},
        {"CN=Chlo\xC3\xA9 M\xC3\xBCller 2051/OU=Sales/O=Big", "Chlo\xC3\xA9 M\xC3\xBCller 2051"},
        {"CN=Jon O'Neil 93311/O=Big", "Jon O'Neil 93311"},
        {"CN=Hiro \"Tanaka\" & Co 7/O=Big", "Hiro \"Tanaka\" & Co 7"},
    };
    std::vector<std::string> summaries;
    for (const auto& person : people) {
        std::vector<notessim::SimItem> items = {
            {"Form", notesapi::TYPE_TEXT, "Person"},
            {"FullName", notesapi::TYPE_TEXT_LIST,
             notessim::BuildTextList({notessim::Utf8ToLibraryText(person[0]),
                                      notessim::Utf8ToLibraryText(person[1])})},
            {"MailServer", notesapi::TYPE_TEXT, "CN=Mail01/O=Big"},
            {"InternetAddress", notesapi::TYPE_TEXT, "user17@big.example"},
        };
        std::vector<const notessim::SimItem*> pointers;
        for (const auto& item : items) pointers.push_back(&item);
        summaries.push_back(notessim::BuildItemTable(pointers));
    }
    return summaries;
}

const std::vector<std::string> kSummaries = MakeSummaries();

// What WriteNameElement printed for each entry, once the parent element is open.
std::vector<std::string> CaptureElements() {
    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* stream = open_memstream(&buffer, &size);
    std::vector<long> ends;
    {
        tinyxml2::XMLPrinter printer(stream, false, 0);
        printer.OpenElement("people", false);
        directory::WriteUser(printer, kSummaries[0].data());  // closes the parent's start tag
        for (const std::string& summary : kSummaries) {
            std::fflush(stream);
            ends.push_back(std::ftell(stream));
            directory::WriteUser(printer, summary.data());
        }
        std::fflush(stream);
        ends.push_back(std::ftell(stream));
    }
    std::fclose(stream);
    std::vector<std::string> elements;
    for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
        elements.emplace_back(buffer + ends[i], static_cast<std::size_t>(ends[i + 1] - ends[i]));
    }
    std::free(buffer);
    return elements;
}

std::int64_t TotalBytes(const std::vector<std::string>& elements) {
    std::int64_t total = 0;
    for (const std::string& element : elements) total += static_cast<std::int64_t>(element.size());
    return total;
}

void WriteNameElementUsers(benchmark::State& state) {
    std::FILE* output = std::fopen("/dev/null", "w");
    {
        tinyxml2::XMLPrinter printer(output, false, 0);
        printer.OpenElement("people", false);
        for (auto _ : state) {
            for (const std::string& summary : kSummaries) {
                directory::WriteNameElement(printer, summary.data(), "FullName", "user");
            }
        }
    }
    std::fclose(output);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kSummaries.size()));
    state.SetBytesProcessed(state.iterations() * TotalBytes(CaptureElements()));
}

void PlainFwriteElements(benchmark::State& state) {
    const std::vector<std::string> elements = CaptureElements();
    std::FILE* output = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        for (const std::string& element : elements) {
            std::fwrite(element.data(), 1, element.size(), output);
        }
    }
    std::fclose(output);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(elements.size()));
    state.SetBytesProcessed(state.iterations() * TotalBytes(elements));
}

BENCHMARK(WriteNameElementUsers);
BENCHMARK(PlainFwriteElements);

}  // namespace
