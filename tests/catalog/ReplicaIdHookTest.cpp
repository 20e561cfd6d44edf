#include <gtest/gtest.h>

#include <string>

#include "catalog/ReplicaIdHook.h"
#include "tests/notessim/SelectionEnvironment.h"

namespace {

std::vector<notes::NotesStatus> answers;

notes::NotesStatus RecordingHook(const void* notification) {
    answers.push_back(catalog::AddReplicaIdText(notification));
    return answers.back();
}

void Collect(const unsigned char* data, std::uint32_t length, void* context) {
    static_cast<std::string*>(context)->append(reinterpret_cast<const char*>(data), length);
}

class ReplicaIdHook : public selectiontest::SelectionEnvironment {
protected:
    std::string Export(std::initializer_list<notes::NoteId> ids) {
        const notes::DatabaseHandle database = OpenTestDatabase();
        notes::IdTableHandle table = 0;
        EXPECT_EQ(notes::CreateIdTable(0, &table), 0);
        for (const notes::NoteId id : ids) notes::InsertIdIntoTable(table, id, nullptr);
        notes::DxlExporterHandle exporter = 0;
        EXPECT_EQ(notes::CreateDxlExporter(&exporter), 0);
        std::string dxl;
        EXPECT_EQ(notes::ExportIdTableAsDxl(exporter, Collect, database, table, &dxl), 0);
        notes::DeleteDxlExporter(exporter);
        notes::FreeMemoryHandle(table);
        notes::CloseDatabase(database);
        return dxl;
    }
};

TEST_F(ReplicaIdHook, TheTextIsTheHighWordFirstEachInEightUppercaseDigits) {
    EXPECT_STREQ(catalog::FormatReplicaIdText({{1, 10}}).data(), "0000000A00000001");
    EXPECT_STREQ(catalog::FormatReplicaIdText({{0, 0xFFFFFFFF}}).data(), "FFFFFFFF00000000");
    EXPECT_STREQ(catalog::FormatReplicaIdText({{0x004F1E2D, 0xC1257A3B}}).data(),
                 "C1257A3B004F1E2D");
}

TEST_F(ReplicaIdHook, GivesEveryOpenedNoteWithAReplicaIdItsText) {
    Start(R"({"notes": [
        {"id": 4, "items": [["replicaid", {"time": "0000000A00000001"}]]},
        {"id": 8, "items": [["Form", "no replica ID"]]},
        {"id": 12, "items": [["ReplicaId", "text, not a time"]]}
    ]})");
    answers.clear();
    notes::HookRecursionId recursion = 0;
    ASSERT_EQ(notes::CreateHookRecursionId(&recursion), 0);
    notes::HookRegistration hook = 0;
    ASSERT_EQ(notes::RegisterNoteOpenHook(5, 2, RecordingHook, recursion, &hook), 0);
    const std::string dxl = Export({4, 8, 12});
    notes::DeregisterHook(hook);

    EXPECT_EQ(answers, (std::vector<notes::NotesStatus>{725, 725, 725}));
    EXPECT_NE(
        dxl.find("<item name='ReplicaIdText'><text>0000000A00000001</text></item>\n</document>\n"
                 "<document noteid='8'>"),
        std::string::npos)
        << dxl;
    EXPECT_EQ(dxl.find("ReplicaIdText", dxl.find("noteid='8'")), std::string::npos);
    ExpectNothingOpen();

    // The item lives only in the opened copies: without the hook the DXL has none.
    EXPECT_EQ(Export({4, 8, 12}).find("ReplicaIdText"), std::string::npos);
}

TEST_F(ReplicaIdHook, RegistersForTheTimeAfterEachOpenAndReleasesWithItsOwner) {
    Start(R"({"notes": [{"id": 4, "items": [["ReplicaId", {"time": "C1257A3B004F1E2D"}]]}]})");
    {
        notes::HookRegistrationOwner hook;
        ASSERT_EQ(catalog::RegisterReplicaIdHook(hook), 0);
        EXPECT_NE(Export({4}).find("<text>C1257A3B004F1E2D</text>"), std::string::npos);
    }
    ExpectNothingOpen();
}

}  // namespace
