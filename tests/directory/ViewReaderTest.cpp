// WalkDirectoryView in-process on directories held in memory.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <algorithm>
#include <memory>
#include <nlohmann/json.hpp>

#include "directory/DirectoryViewReader.h"
#include "notessim/Statuses.h"
#include "tests/notessim/InMemoryEnvironment.h"

namespace {

using nlohmann::json;

std::string PersonName(int number) {
    const std::string digits = std::to_string(number);
    return "CN=Person " + std::string(6 - std::min<std::size_t>(6, digits.size()), '0') + digits +
           "/O=Acme";
}

// Persons 1..count with note IDs 4, 8, ...; the view holds them in reverse note order, a
// category before every `categoryEvery`-th one and one at the end.
std::string Directory(int count, int categoryEvery) {
    json notesList = json::array();
    json entries = json::array();
    for (int i = 1; i <= count; ++i) {
        notesList.push_back({{"id", 4 * i},
                             {"items", json::array({json::array({"FullName", PersonName(i)})})}});
    }
    for (int i = count; i >= 1; --i) {
        if (categoryEvery > 0 && i % categoryEvery == 0) entries.push_back({{"category", "c"}});
        entries.push_back(4 * i);
    }
    entries.push_back({{"category", "last"}});
    return json{{"notes", notesList}, {"views", {{"($People)", entries}, {"Empty", json::array()}}}}
        .dump();
}

std::string FullName(const void* itemTable) {
    const char* value = nullptr;
    std::uint16_t length = 0, type = 0;
    if (!notes::FindSummaryItem(itemTable, "FullName", &value, &length, &type)) return "?";
    return std::string(value, length);
}

class ViewReader : public ::testing::Test {
protected:
    void Start(const std::string& names, const std::string& ini) {
        testsupport::StartInMemoryRuntime(ini, {{"names.nsf", names}});
        ASSERT_EQ(notes::OpenDatabase("names.nsf", &database_), 0);
    }
    void TearDown() override {
        // Only the caller's database may be left when a walk returns.
        const auto open = notessim::OpenHandles();
        EXPECT_EQ(open.size(), 1u);
        notes::CloseDatabase(database_);
        testsupport::StopInMemoryRuntime();
    }
    notes::NotesStatus Walk(const char* view, std::vector<std::string>& names) {
        return directory::WalkDirectoryView(
            view, [&names](tinyxml2::XMLPrinter&, const void* table) { names.push_back(FullName(table)); },
            printer_, database_);
    }

    notes::DatabaseHandle database_ = 0;
    tinyxml2::XMLPrinter printer_;
};

TEST_F(ViewReader, EveryDocumentEntryReachesTheWriterOnceInViewOrderAcrossBatches) {
    Start(Directory(9, 2), "SimViewBatch=2\n");  // categories fall on and between batch edges
    std::vector<std::string> names;
    ASSERT_EQ(Walk("($People)", names), 0);
    std::vector<std::string> expected;
    for (int i = 9; i >= 1; --i) expected.push_back(PersonName(i));
    EXPECT_EQ(names, expected);
    EXPECT_EQ(notessim::CallCounts()["ReadViewEntries"], 7u);  // 14 entries, 2 a batch
}

TEST_F(ViewReader, FailedLaterBatchKeepsEarlierEntriesClosesTheViewAndReleasesTheWriter) {
    Start(Directory(6, 0), "SimViewBatch=2\nSimFault=ReadViewEntries#3:0x0306\n");
    std::vector<std::string> names;
    const auto held = std::make_shared<int>(0);
    const auto status = directory::WalkDirectoryView(
        "($People)",
        [&names, held](tinyxml2::XMLPrinter&, const void* table) { names.push_back(FullName(table)); },
        printer_, database_);
    EXPECT_EQ(status, 0x0306);  // ERR_UNSUPPORTED_FLAGS
    EXPECT_EQ(names, (std::vector<std::string>{PersonName(6), PersonName(5), PersonName(4),
                                               PersonName(3)}));
    EXPECT_EQ(held.use_count(), 1);
}

// Bytes held in live memory handles, and how many there are.
std::pair<std::size_t, std::size_t> LiveMemory() {
    std::size_t bytes = 0;
    std::size_t handles = 0;
    for (const notessim::OpenHandle& open : notessim::OpenHandles()) {
        if (open.kind != notessim::HandleKind::memory) continue;
        ++handles;
        if (auto* buffer = notessim::FindHandleAs<notessim::MemoryBuffer>(
                notessim::HandleKind::memory, open.handle, "test")) {
            bytes += buffer->bytes.size();
        }
    }
    return {bytes, handles};
}

TEST_F(ViewReader, HeldMemoryIsOneBatchWhateverTheSizeOfTheView) {
    std::size_t peak[2] = {0, 0};
    for (const int size : {200, 20000}) {
        SCOPED_TRACE(size);
        Start(Directory(size, 10), "SimViewBatch=50\n");
        std::size_t delivered = 0;
        std::size_t mostHandles = 0;
        std::size_t& sizePeak = peak[size == 200 ? 0 : 1];
        ASSERT_EQ(directory::WalkDirectoryView(
                      "($People)",
                      [&](tinyxml2::XMLPrinter&, const void*) {
                          const auto [bytes, handles] = LiveMemory();
                          mostHandles = std::max(mostHandles, handles);
                          sizePeak = std::max(sizePeak, bytes);
                          ++delivered;
                      },
                      printer_, database_),
                  0);
        EXPECT_EQ(delivered, static_cast<std::size_t>(size));
        EXPECT_EQ(mostHandles, 1u);
        if (size == 200) {
            notes::CloseDatabase(database_);
            testsupport::StopInMemoryRuntime();
        }
    }
    // Equal-sized entries: a hundred times the view, the same single batch held at a time.
    EXPECT_GT(peak[0], 0u);
    EXPECT_EQ(peak[1], peak[0]);
}

}  // namespace
