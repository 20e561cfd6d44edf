// Views read through FindView, OpenViewCollection and ReadViewEntries, and the item helpers
// that read what they hand out.
#include <gtest/gtest.h>

#include <cstring>
#include <nlohmann/json.hpp>

#include "notessim/Database.h"
#include "notessim/ItemTable.h"
#include "notessim/Statuses.h"
#include "tests/notessim/InMemoryEnvironment.h"

namespace {

using nlohmann::json;

struct Entry {
    notes::NoteId id;
    std::string summary;
};

struct Batch {
    notes::NotesStatus status = 0;
    bool hadBuffer = false;
    std::uint16_t signal = 0;
    std::vector<Entry> entries;
};

json Person(notes::NoteId id, const std::string& name, const std::string& extra = "") {
    const json items = json::array({json::array({"Form", "Person"}), json::array({"FullName", name}),
                                    json::array({"Note", extra})});
    return {{"id", id}, {"items", items}};
}

std::string Directory(const json& notesList, const json& views) {
    return json{{"notes", notesList}, {"views", views}}.dump();
}

class ViewReading : public ::testing::Test {
protected:
    void Start(const std::string& namesNsf, const std::string& ini = "") {
        testsupport::StartInMemoryRuntime(ini, {{"names.nsf", namesNsf}});
        ASSERT_EQ(notes::OpenDatabase("names.nsf", &database_), 0);
    }
    void TearDown() override {
        if (collection_ != 0) notes::CloseViewCollection(collection_);
        if (database_ != 0) notes::CloseDatabase(database_);
        testsupport::StopInMemoryRuntime();
    }
    notes::NotesStatus Open(const char* view) {
        notes::NoteId viewId = 0;
        if (const auto status = notes::FindView(database_, view, 8, "-G40n^", &viewId, 0)) return status;
        return notes::OpenViewCollection(database_, database_, viewId, 0, 0, &collection_, nullptr,
                                         nullptr, nullptr, nullptr);
    }
    Batch Read() {
        Batch batch;
        notes::MemoryHandle buffer = 0;
        std::uint32_t count = 0;
        batch.status = notes::ReadViewEntries(collection_, &position_, 1, 1, 1, 0xFFFFFFFF, 0x8001,
                                              &buffer, nullptr, nullptr, &count, &batch.signal);
        batch.hadBuffer = buffer != 0;
        if (buffer == 0) return batch;
        const auto* at = static_cast<const unsigned char*>(notes::LockMemoryHandle(buffer));
        for (std::uint32_t i = 0; i < count; ++i) {
            Entry entry{};
            std::memcpy(&entry.id, at, 4);
            const std::size_t length = at[4] | (at[5] << 8);
            entry.summary.assign(reinterpret_cast<const char*>(at + 4), length);
            batch.entries.push_back(entry);
            at += 4 + length;
        }
        notes::UnlockMemoryHandle(buffer);
        notes::FreeMemoryHandle(buffer);
        return batch;
    }

    notes::DatabaseHandle database_ = 0;
    notes::CollectionHandle collection_ = 0;
    notes::CollectionPosition position_{};
};

TEST_F(ViewReading, BatchesDeliverEveryEntryOnceInViewOrderWithMoreToDoUntilTheLast) {
    Start(Directory({Person(8, "A"), Person(12, "B"), Person(16, "C"), Person(20, "D")},
                    {{"($People)|People", {{{"category", "x"}}, 16, 8, {{"category", "y"}}, 20, 12}}}),
          "SimViewBatch=4\n");
    ASSERT_EQ(Open("people"), 0);  // any alias, any letter case
    const Batch first = Read();
    const Batch second = Read();
    ASSERT_EQ(first.status, 0);
    ASSERT_EQ(second.status, 0);
    EXPECT_EQ(first.signal, notes::kSignalMoreToDo);
    EXPECT_EQ(second.signal, 0);
    std::vector<notes::NoteId> ids;
    for (const Batch* batch : {&first, &second}) {
        for (const Entry& entry : batch->entries) ids.push_back(entry.id);
    }
    const notes::NoteId category = notes::kCategoryNoteIdFlag;
    ASSERT_EQ(ids.size(), 6u);
    EXPECT_EQ(ids, (std::vector<notes::NoteId>{category | 0, 16, 8, category | 3, 20, 12}));

    // A document's summary holds its note's items in note order; a category's is small.
    notes::NotesStatus status = 0;
    const auto parsed = notessim::ParseDatabase(
        Directory(json::array({Person(16, "C")}), json::object()), "x", status);
    ASSERT_NE(parsed, nullptr);
    std::vector<const notessim::SimItem*> items;
    for (const auto& item : parsed->notes[0].items) items.push_back(&item);
    EXPECT_EQ(first.entries[1].summary, notessim::BuildItemTable(items));
    const char* value = nullptr;
    std::uint16_t length = 0, type = 0;
    ASSERT_TRUE(notes::FindSummaryItem(first.entries[3].summary.data(), "$Category", &value,
                                       &length, &type));
    EXPECT_EQ(std::string(value, length), "y");
}

TEST_F(ViewReading, EmptyViewComesBackWithoutBufferOrSignal) {
    Start(Directory(json::array({Person(8, "A")}), {{"($Servers)", json::array()}}));
    ASSERT_EQ(Open("($Servers)"), 0);
    const Batch batch = Read();
    EXPECT_EQ(batch.status, 0);
    EXPECT_FALSE(batch.hadBuffer);
    EXPECT_EQ(batch.signal, 0);
}

TEST_F(ViewReading, MissingViewIsNotFoundWithTheViewInTheDiagnostics) {
    Start(Directory(json::array({Person(8, "A")}), {{"($People)", {8}}}));
    EXPECT_EQ(Open("($Servers)"), 0x0404);  // ERR_NOT_FOUND
    EXPECT_EQ(notessim::StatusText(0x0404), "Entry not found in index");
    EXPECT_NE(notessim::Diagnostics().back().find("($Servers)"), std::string::npos);
}

TEST_F(ViewReading, BatchStopsBeforeItsBufferPassesSixtyFourKilobytes) {
    const std::string big(20000, 'x');
    Start(Directory({Person(8, "A", big), Person(12, "B", big), Person(16, "C", big),
                     Person(20, "D", big), Person(24, "E", big)},
                    {{"($People)", {8, 12, 16, 20, 24}}}));
    ASSERT_EQ(Open("($People)"), 0);
    const Batch first = Read();
    const Batch second = Read();
    EXPECT_EQ(first.entries.size(), 3u);
    EXPECT_EQ(first.signal, notes::kSignalMoreToDo);
    EXPECT_EQ(second.entries.size(), 2u);
    EXPECT_EQ(second.entries[0].id, 20u);
    EXPECT_EQ(second.signal, 0);
}

TEST_F(ViewReading, InjectedFaultFailsTheNamedBatchWithoutBuffer) {
    Start(Directory({Person(8, "A"), Person(12, "B")}, {{"($People)", {8, 12}}}),
          "SimViewBatch=1\nSimFault=ReadViewEntries#2:0x0306\n");
    ASSERT_EQ(Open("($People)"), 0);
    EXPECT_EQ(Read().status, 0);
    const Batch failed = Read();
    EXPECT_EQ(failed.status, 0x0306);  // ERR_UNSUPPORTED_FLAGS
    EXPECT_FALSE(failed.hadBuffer);
}

TEST_F(ViewReading, SummaryItemsAreFoundWithoutRegardToCaseWithTheValueAfterTheTypeWord) {
    const notessim::SimItem first{"FullName", notes::kTypeTextList,
                                  notessim::BuildTextList({"one", "", "three"})};
    const notessim::SimItem second{"fullname", notes::kTypeText, "later"};
    const std::string table = notessim::BuildItemTable({&first, &second});
    const char* value = nullptr;
    std::uint16_t length = 0, type = 0;
    ASSERT_TRUE(notes::FindSummaryItem(table.data(), "FULLNAME", &value, &length, &type));
    EXPECT_EQ(type, notes::kTypeTextList);
    EXPECT_EQ(std::string(value, length), first.value);
    EXPECT_FALSE(notes::FindSummaryItem(table.data(), "Full", &value, &length, &type));

    EXPECT_EQ(notes::CountListEntries(value, false), 3);
    const char* text = nullptr;
    std::uint16_t textLength = 0;
    ASSERT_EQ(notes::GetListEntryText(value, false, 2, &text, &textLength), 0);
    EXPECT_EQ(std::string(text, textLength), "three");
    ASSERT_EQ(notes::GetListEntryText(value, false, 1, &text, &textLength), 0);
    EXPECT_EQ(textLength, 0);
    EXPECT_EQ(notes::GetListEntryText(value, false, 3, &text, &textLength),
              notessim::kStatusNotInList);
    // Prefixed: the list follows its type word.
    EXPECT_EQ(notes::CountListEntries(value - 2, true), 3);
}

}  // namespace
