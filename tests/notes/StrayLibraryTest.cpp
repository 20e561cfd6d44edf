// What the binding refuses or steps over when a library hands back more than the program can
// hold, against a library that does so on purpose (library/StrayNotesLibrary.c).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "notes/NotesPlatform.h"
#include "notes/NotesStatuses.h"

namespace {

std::vector<notes::NoteHandle>& SeenNotes() {
    static std::vector<notes::NoteHandle> seen;
    return seen;
}

notes::NotesStatus RecordNote(const void* notification) {
    const unsigned char* arguments = nullptr;
    std::memcpy(&arguments, static_cast<const unsigned char*>(notification) +
                                notes::kHookArgumentsOffset, sizeof arguments);
    const notes::NoteHandle* note = nullptr;
    std::memcpy(&note, arguments + notes::kHookNoteHandleArgument * sizeof(void*), sizeof note);
    SeenNotes().push_back(*note);
    return notes::kHookContinue;
}

class StrayLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ::setenv("DXL_NOTES_LIBRARY", DXL_STRAY_NOTES_LIBRARY, 1);
        ASSERT_TRUE(notes::LoadNotesLibrary().loaded);
    }
};

// 0xFFFFFFFF fits a handle; a bit above its 32 bits, the lowest or the highest, does not.
TEST_F(StrayLibrary, HandlesWrittenWiderThanDocumentedAreRefused) {
    notes::IdTableHandle table = 5;
    EXPECT_EQ(notes::CreateIdTable(0, &table), 0);
    EXPECT_EQ(table, 0xFFFFFFFFu);
    for (const std::uint16_t wide : {1, 2}) {
        table = 5;
        EXPECT_EQ(notes::CreateIdTable(wide, &table), notes::kStatusInvalidHandle) << wide;
        EXPECT_EQ(table, 5u);
    }
}

TEST_F(StrayLibrary, ANameWithMoreMatchesThanSixteenBitsCountReadsAsNoRecord) {
    std::uint32_t lookup = 65535;
    std::uint16_t matches = 0;
    EXPECT_EQ(notes::FirstLookupName(&lookup, nullptr, &matches), &lookup);
    EXPECT_EQ(matches, 65535);
    lookup = 65536;
    EXPECT_EQ(notes::FirstLookupName(&lookup, nullptr, &matches), nullptr);
    EXPECT_EQ(matches, 0);
}

// The library's NIFReadEntries and NIFCloseCollection would abort: neither is called.
TEST_F(StrayLibrary, CollectionNumbersPastSixteenBitsNeverReachTheLibrary) {
    notes::CollectionPosition position{};
    EXPECT_EQ(notes::ReadViewEntries(0x10000, &position, 1, 1, 1, 1, 0x8001, nullptr, nullptr,
                                     nullptr, nullptr, nullptr),
              notes::kStatusInvalidHandle);
    notes::CloseViewCollection(0x10000);
}

// The library calls each handler at once with no record, another event, no opened note, and
// note 42: only the last reaches the program. Four handlers at a time, recursion IDs of 16 bits.
TEST_F(StrayLibrary, NoteOpenHooksSeeOnlyRecordsOfAnOpenedNote) {
    notes::HookRegistration registration = 0;
    EXPECT_EQ(notes::RegisterNoteOpenHook(5, 2, RecordNote, 0x10000, &registration),
              notes::kStatusValueOutOfRange);
    EXPECT_TRUE(SeenNotes().empty());
    for (const notes::HookRecursionId id : {0xFFFFu, 1u, 2u, 3u}) {
        EXPECT_EQ(notes::RegisterNoteOpenHook(5, 2, RecordNote, id, &registration), 0);
        EXPECT_EQ(registration, id);
    }
    EXPECT_EQ(SeenNotes(), std::vector<notes::NoteHandle>(4, 42));
    EXPECT_EQ(notes::RegisterNoteOpenHook(5, 2, RecordNote, 4, &registration),
              notes::kStatusValueOutOfRange);
    notes::DeregisterHook(2);
    EXPECT_EQ(notes::RegisterNoteOpenHook(5, 2, RecordNote, 4, &registration), 0);
    for (const notes::HookRegistration id : {0xFFFFu, 1u, 3u, 4u}) notes::DeregisterHook(id);
}

}  // namespace
