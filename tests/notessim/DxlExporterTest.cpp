#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <cstring>

#include "tests/notessim/SelectionEnvironment.h"

namespace {

constexpr const char* kDatabase = R"({
  "title": "Test <&> 'db'",
  "replicaId": "C1257A3B004F1E2D",
  "notes": [
    {"id": 8, "items": [["Form", "A"], ["Title", "Tom & \"Jerry\" <3>\nsecond line\ttab\r"],
                        ["Size", 1234.5], ["", "empty name"], ["Form", "duplicate"]]},
    {"id": 4, "items": [["Names", ["x<y", "Ünïcödé"]], ["When", {"time": "0000000AFFFFFFFF"}],
                        ["Raw", {"type": 1, "hex": "00ff10"}], ["Ctl", "bell\u0007"]]},
    {"id": 12, "items": [["Form", "C"]]}
  ]
})";

struct Stream {
    std::string text;
    std::vector<std::uint32_t> sizes;
};

void Collect(const unsigned char* data, std::uint32_t length, void* context) {
    auto* stream = static_cast<Stream*>(context);
    stream->text.append(reinterpret_cast<const char*>(data), length);
    stream->sizes.push_back(length);
}

struct HookLog {
    std::vector<notes::NoteId> opened;
    notes::NotesStatus answer = notes::kHookContinue;
};
HookLog* theHookLog = nullptr;

notes::NoteHandle NoteOf(const void* notification) {
    const void* arguments = nullptr;
    std::memcpy(&arguments, static_cast<const char*>(notification) + notes::kHookArgumentsOffset,
                sizeof arguments);
    const notes::NoteHandle* note = nullptr;
    std::memcpy(
        &note, static_cast<const char*>(arguments) + notes::kHookNoteHandleArgument * sizeof(void*),
        sizeof note);
    return *note;
}

notes::NotesStatus MarkNote(const void* notification) {
    std::uint16_t header[2] = {};
    std::memcpy(header, notification, sizeof header);
    EXPECT_EQ(header[0], notes::kHookEventNoteOpen);
    EXPECT_EQ(header[1], notes::kHookNotifiedAfter);
    const void* arguments = nullptr;
    std::memcpy(&arguments, static_cast<const char*>(notification) + notes::kHookArgumentsOffset,
                sizeof arguments);
    const auto id = static_cast<const std::uintptr_t*>(arguments)[1];
    theHookLog->opened.push_back(static_cast<notes::NoteId>(id));
    const std::string text = "seen " + std::to_string(id);
    EXPECT_EQ(notes::SetTextItem(NoteOf(notification), "form", text.data(),
                                 static_cast<std::uint16_t>(text.size())),
              0);
    return theHookLog->answer;
}

notes::NotesStatus SecondHook(const void* notification) {
    theHookLog->opened.push_back(0);
    notes::TimeDate when{};
    EXPECT_FALSE(notes::GetTimeItem(NoteOf(notification), "Form", &when));
    return notes::kHookContinue;
}

class DxlExporter : public selectiontest::SelectionEnvironment {
protected:
    void SetUp() override {
        SelectionEnvironment::SetUp();
        theHookLog = &hooks;
    }
    void TearDown() override {
        theHookLog = nullptr;
        SelectionEnvironment::TearDown();
    }

    notes::IdTableHandle Table(std::initializer_list<notes::NoteId> ids) {
        notes::IdTableHandle table = 0;
        EXPECT_EQ(notes::CreateIdTable(0, &table), 0);
        for (const notes::NoteId id : ids) {
            EXPECT_EQ(notes::InsertIdIntoTable(table, id, nullptr), 0);
        }
        return table;
    }

    notes::NotesStatus Export(std::initializer_list<notes::NoteId> ids, Stream& stream) {
        const notes::DatabaseHandle database = OpenTestDatabase();
        const notes::IdTableHandle table = Table(ids);
        notes::DxlExporterHandle exporter = 0;
        EXPECT_EQ(notes::CreateDxlExporter(&exporter), 0);
        const notes::NotesStatus status =
            notes::ExportIdTableAsDxl(exporter, Collect, database, table, &stream);
        notes::DeleteDxlExporter(exporter);
        notes::FreeMemoryHandle(table);
        notes::CloseDatabase(database);
        return status;
    }

    HookLog hooks;
};

TEST_F(DxlExporter, WellFormedXmlStreamedInChunksOfAtMostTheSetSize) {
    Start(kDatabase, "SimDxlChunk=7\n");
    Stream stream;
    ASSERT_EQ(Export({12, 8, 4}, stream), 0);
    ExpectNothingOpen();
    for (std::size_t i = 0; i < stream.sizes.size(); ++i) {
        EXPECT_LE(stream.sizes[i], 7u);
        if (i + 1 < stream.sizes.size()) {
            EXPECT_EQ(stream.sizes[i], 7u);
        }
    }
    EXPECT_EQ(stream.text.find('\r'), std::string::npos);
    EXPECT_EQ(stream.text.back(), '\n');

    tinyxml2::XMLDocument xml;
    ASSERT_EQ(xml.Parse(stream.text.data(), stream.text.size()), tinyxml2::XML_SUCCESS)
        << stream.text;
    const tinyxml2::XMLElement* database = xml.FirstChildElement("database");
    ASSERT_NE(database, nullptr);
    EXPECT_STREQ(database->Attribute("title"), "Test <&> 'db'");
    EXPECT_STREQ(database->Attribute("replicaid"), "C1257A3B004F1E2D");
    std::vector<std::string> ids;
    for (auto* document = database->FirstChildElement("document"); document != nullptr;
         document = document->NextSiblingElement("document")) {
        ids.push_back(document->Attribute("noteid"));
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"4", "8", "12"}));

    // Values survive escaping; duplicate and empty item names are kept, in note order.
    const tinyxml2::XMLElement* eight =
        database->FirstChildElement("document")->NextSiblingElement();
    std::vector<std::string> names;
    for (auto* item = eight->FirstChildElement("item"); item != nullptr;
         item = item->NextSiblingElement()) {
        names.push_back(item->Attribute("name"));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Form", "Title", "Size", "", "Form"}));
    const auto* title = eight->FirstChildElement("item")->NextSiblingElement();
    EXPECT_STREQ(title->FirstChildElement("text")->GetText(),
                 "Tom & \"Jerry\" <3>\nsecond line\ttab\r");
    EXPECT_STREQ(title->NextSiblingElement()->FirstChildElement("number")->GetText(), "1234.5");

    const tinyxml2::XMLElement* four = database->FirstChildElement("document");
    const auto* list = four->FirstChildElement("item")->FirstChildElement("textlist");
    ASSERT_NE(list, nullptr);
    EXPECT_STREQ(list->FirstChildElement("text")->GetText(), "x<y");
    EXPECT_STREQ(list->LastChildElement("text")->GetText(), "Ünïcödé");
    const auto* when = four->FirstChildElement("item")->NextSiblingElement();
    EXPECT_STREQ(when->FirstChildElement("datetime")->GetText(), "0000000AFFFFFFFF");
    EXPECT_STREQ(when->NextSiblingElement()->FirstChildElement("raw")->GetText(), "00ff10");
    EXPECT_STREQ(four->LastChildElement("item")->FirstChildElement("text")->GetText(),
                 "bell\xEF\xBF\xBD");
}

TEST_F(DxlExporter, AnEmptyTableGivesADatabaseWithoutDocuments) {
    Start(kDatabase);
    Stream stream;
    ASSERT_EQ(Export({}, stream), 0);
    tinyxml2::XMLDocument xml;
    ASSERT_EQ(xml.Parse(stream.text.data(), stream.text.size()), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(xml.FirstChildElement("database")->FirstChildElement(), nullptr);
    EXPECT_EQ(stream.sizes.size(), 1u);
}

TEST_F(DxlExporter, HooksSeeEveryOpenedNoteAndTheirItemsReachOnlyTheDxl) {
    Start(kDatabase);
    notes::HookRecursionId recursion = 0;
    ASSERT_EQ(notes::CreateHookRecursionId(&recursion), 0);
    notes::HookRegistration first = 0;
    notes::HookRegistration second = 0;
    ASSERT_EQ(notes::RegisterNoteOpenHook(5, 2, MarkNote, recursion, &first), 0);
    ASSERT_EQ(notes::RegisterNoteOpenHook(5, 2, SecondHook, recursion + 1, &second), 0);
    Stream stream;
    ASSERT_EQ(Export({8, 12}, stream), 0);
    EXPECT_EQ(hooks.opened, (std::vector<notes::NoteId>{8, 0, 12, 0}));
    // SetTextItem replaced both "Form" items of note 8 with one at the end.
    EXPECT_NE(stream.text.find("<item name='form'><text>seen 8</text></item>\n</document>"),
              std::string::npos);
    EXPECT_EQ(stream.text.find("duplicate"), std::string::npos);

    // Each open is a fresh copy: a second export starts from the database's items again.
    notes::DeregisterHook(second);
    hooks.opened.clear();
    Stream again;
    ASSERT_EQ(Export({8}, again), 0);
    EXPECT_EQ(hooks.opened, std::vector<notes::NoteId>{8});
    EXPECT_EQ(again.text.find("duplicate"), std::string::npos);
    notes::DeregisterHook(first);
    ExpectNothingOpen();
}

TEST_F(DxlExporter, AHookStatusOtherThanContinueEndsTheExportWithIt) {
    Start(kDatabase, "SimDxlChunk=4096\n");
    notes::HookRegistration hook = 0;
    ASSERT_EQ(notes::RegisterNoteOpenHook(5, 2, MarkNote, 1, &hook), 0);
    hooks.answer = 0x0ABC;
    Stream stream;
    EXPECT_EQ(Export({4, 8}, stream), 0x0ABC);
    EXPECT_EQ(hooks.opened, std::vector<notes::NoteId>{4});
    EXPECT_EQ(stream.text.find("<document"), std::string::npos);
    notes::DeregisterHook(hook);
    ExpectNothingOpen();  // the note that failed to open was closed again

    // 0 lets the open succeed without calling later hooks.
    notes::HookRegistration stopper = 0;
    notes::HookRegistration later = 0;
    ASSERT_EQ(notes::RegisterNoteOpenHook(5, 2, MarkNote, 1, &stopper), 0);
    ASSERT_EQ(notes::RegisterNoteOpenHook(5, 2, SecondHook, 2, &later), 0);
    hooks.answer = 0;
    hooks.opened.clear();
    EXPECT_EQ(Export({4}, stream), 0);
    EXPECT_EQ(hooks.opened, std::vector<notes::NoteId>{4});
    notes::DeregisterHook(later);
    notes::DeregisterHook(stopper);
}

TEST_F(DxlExporter, OnlyTheAfterOpenEventCanBeHooked) {
    Start(kDatabase);
    notes::HookRegistration hook = 0;
    EXPECT_NE(notes::RegisterNoteOpenHook(5, 1, MarkNote, 1, &hook), 0);
    EXPECT_NE(notes::RegisterNoteOpenHook(6, 2, MarkNote, 1, &hook), 0);
    EXPECT_EQ(hook, 0u);
}

TEST_F(DxlExporter, ItemsCanOnlyBeReachedThroughOpenNotes) {
    Start(kDatabase);
    notes::TimeDate when{};
    EXPECT_FALSE(notes::GetTimeItem(0x7777, "When", &when));
    EXPECT_NE(notes::SetTextItem(0x7777, "X", "y", 1), 0);
    EXPECT_EQ(notessim::HandleMisuses().size(), 2u);
}

TEST_F(DxlExporter, ANoteIdTheDatabaseDoesNotHoldFailsTheExport) {
    Start(kDatabase);
    Stream stream;
    EXPECT_NE(Export({8, 99}, stream), 0);
    ExpectNothingOpen();
}

}  // namespace
