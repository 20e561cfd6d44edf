#include <gtest/gtest.h>

#include <cstring>

#include "tests/notessim/SelectionEnvironment.h"

namespace {

constexpr const char* kDatabase = R"({
  "replicaId": "0000000100000002",
  "notes": [
    {"id": 20, "items": [["Form", "A"]]},
    {"id": 8, "items": [["Form", "B"]]},
    {"id": 12, "class": "design", "items": [["Form", "A"]]},
    {"id": 16, "items": [["Form", "A"]]}
  ]
})";

struct Matches {
    std::vector<notes::NoteId> ids;
    std::vector<std::uint16_t> classes;
    notes::NotesStatus stopWith = 0;
    std::size_t stopAfter = 0;
};

notes::NotesStatus Record(void* context, const void* match, const void* /*summary*/) {
    auto* matches = static_cast<Matches*>(context);
    notes::NoteId id = 0;
    std::uint16_t noteClass = 0;
    std::memcpy(&id, static_cast<const char*>(match) + notes::kSearchMatchNoteIdOffset, 4);
    std::memcpy(&noteClass, static_cast<const char*>(match) + 48, 2);
    matches->ids.push_back(id);
    matches->classes.push_back(noteClass);
    return matches->ids.size() == matches->stopAfter ? matches->stopWith : 0;
}

class Search : public selectiontest::SelectionEnvironment {
protected:
    notes::FormulaHandle Compile(const std::string& text) {
        notes::FormulaHandle formula = 0;
        std::uint16_t scratch = 0;
        EXPECT_EQ(notes::CompileFormula(nullptr, 0, text.data(),
                                        static_cast<std::uint16_t>(text.size()), &formula, &scratch,
                                        &scratch, &scratch, &scratch, &scratch, &scratch),
                  0);
        return formula;
    }
};

TEST_F(Search, DocumentsOfTheFormulaInAscendingNoteIdOrder) {
    Start(kDatabase);
    const notes::DatabaseHandle database = OpenTestDatabase();
    const notes::FormulaHandle formula = Compile("SELECT Form = \"A\" | Form = \"B\"");
    Matches matches;
    EXPECT_EQ(
        notes::SearchDatabase(database, formula, nullptr, 0, 1, nullptr, Record, &matches, nullptr),
        0);
    EXPECT_EQ(matches.ids, (std::vector<notes::NoteId>{8, 16, 20}));
    EXPECT_EQ(matches.classes, (std::vector<std::uint16_t>{1, 1, 1}));

    // Without a formula every note of the class mask matches; design notes only by a design class.
    Matches design;
    EXPECT_EQ(
        notes::SearchDatabase(database, 0, nullptr, 0, 0x0008, nullptr, Record, &design, nullptr),
        0);
    EXPECT_EQ(design.ids, std::vector<notes::NoteId>{12});
    notes::FreeMemoryHandle(formula);
    notes::CloseDatabase(database);
    ExpectNothingOpen();
}

TEST_F(Search, ACallbackStatusEndsTheSearchAndIsReturned) {
    Start(kDatabase);
    const notes::DatabaseHandle database = OpenTestDatabase();
    Matches matches;
    matches.stopAfter = 2;
    matches.stopWith = 0x1234;
    EXPECT_EQ(notes::SearchDatabase(database, 0, nullptr, 0, 1, nullptr, Record, &matches, nullptr),
              0x1234);
    EXPECT_EQ(matches.ids, (std::vector<notes::NoteId>{8, 16}));
    notes::CloseDatabase(database);
    ExpectNothingOpen();
}

TEST_F(Search, HandlesThatAreNotOpenAreRefusedAndRecorded) {
    Start(kDatabase);
    const notes::DatabaseHandle database = OpenTestDatabase();
    notes::IdTableHandle table = 0;
    ASSERT_EQ(notes::CreateIdTable(0, &table), 0);
    Matches matches;
    EXPECT_NE(
        notes::SearchDatabase(database, table, nullptr, 0, 1, nullptr, Record, &matches, nullptr),
        0);
    notes::CloseDatabase(database);
    EXPECT_NE(notes::SearchDatabase(database, 0, nullptr, 0, 1, nullptr, Record, &matches, nullptr),
              0);
    EXPECT_TRUE(matches.ids.empty());
    EXPECT_EQ(notessim::HandleMisuses().size(), 2u);
    notes::FreeMemoryHandle(table);
}

TEST_F(Search, IdTablesHoldEachIdOnceAndAreMemoryHandles) {
    Start(kDatabase);
    notes::IdTableHandle table = 0;
    ASSERT_EQ(notes::CreateIdTable(0, &table), 0);
    bool inserted = false;
    EXPECT_EQ(notes::InsertIdIntoTable(table, 40, &inserted), 0);
    EXPECT_TRUE(inserted);
    EXPECT_EQ(notes::InsertIdIntoTable(table, 40, &inserted), 0);
    EXPECT_FALSE(inserted);
    EXPECT_EQ(notes::InsertIdIntoTable(table, 4, nullptr), 0);
    EXPECT_EQ(notes::CountIdTableEntries(table), 2u);
    const auto* image = static_cast<const notes::NoteId*>(notes::LockMemoryHandle(table));
    EXPECT_EQ(std::vector<notes::NoteId>(image, image + 3), (std::vector<notes::NoteId>{2, 4, 40}));
    notes::UnlockMemoryHandle(table);
    notes::DestroyIdTable(table);
    ExpectNothingOpen();

    // A formula is a memory handle but no ID table.
    const notes::FormulaHandle formula = Compile("SELECT @All");
    EXPECT_EQ(notes::CountIdTableEntries(formula), 0u);
    notes::DestroyIdTable(formula);
    EXPECT_EQ(notessim::HandleMisuses().size(), 2u);
    notes::FreeMemoryHandle(formula);
}

}  // namespace
