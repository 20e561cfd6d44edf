#include "notessim/DatabaseParser.h"

#include <gtest/gtest.h>

#include <cstring>

#include "notessim/TextCopy.h"

namespace notessim {
namespace {

std::shared_ptr<SimDatabase> Parse(const std::string& json) {
    std::string error;
    auto database = ParseDatabaseJson(json, error);
    EXPECT_TRUE(database) << error;
    return database;
}

std::string ErrorOf(const std::string& json) {
    std::string error;
    EXPECT_EQ(ParseDatabaseJson(json, error), nullptr) << json;
    return error;
}

TEST(DatabaseParser, ReadsEveryItemFormInNoteOrder) {
    const auto db = Parse(R"({
      "title": "Acme", "replicaId": "C1257A3B004F1E2D", "extra": {"ignored": [1, {"x": null}]},
      "notes": [{"id": 8194, "class": "document", "items": [
        ["Form", "Person"], ["FullName", ["CN=Jane Doe/O=Acme", "Jane"]], ["Size", 1234.5],
        ["Count", 3], ["Neg", -2], ["When", {"time": "0000000A00000001"}],
        ["Utc", {"time": "2026-12-01T09:30:00.25Z"}], ["Photo", {"type": 1, "hex": "00ff10"}],
        ["", "empty name"], ["form", "duplicate"], ["Text", "Zoë"]]}]})");
    ASSERT_TRUE(db);
    EXPECT_EQ(db->title, "Acme");
    EXPECT_EQ(db->replicaId.Innards[1], 0xC1257A3Bu);
    EXPECT_EQ(db->replicaId.Innards[0], 0x004F1E2Du);
    ASSERT_EQ(db->notes.size(), 1u);
    const auto& items = db->notes[0].items;
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[0].type, 0x0500);
    EXPECT_EQ(items[1].type, 0x0501);
    EXPECT_EQ(items[1].value, std::string("\x02\x00\x12\x00\x04\x00", 6) + "CN=Jane Doe/O=AcmeJane");
    double number = 0;
    std::memcpy(&number, items[2].value.data(), 8);
    EXPECT_EQ(number, 1234.5);
    std::memcpy(&number, items[4].value.data(), 8);
    EXPECT_EQ(number, -2);
    EXPECT_EQ(items[5].type, 0x0400);
    EXPECT_EQ(items[5].value, std::string("\x01\x00\x00\x00\x0A\x00\x00\x00", 8));
    notesapi::TIMEDATE utc{};
    std::memcpy(&utc, items[6].value.data(), 8);
    EXPECT_EQ(utc.Innards[1], 2461376u);  // Julian day of 2026-12-01
    EXPECT_EQ(utc.Innards[0], (9 * 3600 + 30 * 60) * 100u + 25);
    EXPECT_EQ(items[7].type, 1);
    EXPECT_EQ(items[7].value, std::string("\x00\xff\x10", 3));
    EXPECT_EQ(FindItem(items, "FORM")->value, "Person");  // the first of a name wins
    EXPECT_EQ(LibraryTextToUtf8(FindItem(items, "text")->value), "Zoë");
}

TEST(DatabaseParser, GivesMissingIdsPastTheLargestAndSortsNotes) {
    const auto db = Parse(R"({"notes": [{"items": []}, {"id": 10}, {"id": 2, "class": "design"}, {}]})");
    ASSERT_TRUE(db);
    ASSERT_EQ(db->notes.size(), 4u);
    EXPECT_EQ(db->notes[0].id, 2u);
    EXPECT_TRUE(db->notes[0].design);
    EXPECT_EQ(db->notes[1].id, 10u);
    EXPECT_EQ(db->notes[2].id, 12u);
    EXPECT_EQ(db->notes[3].id, 16u);
}

TEST(DatabaseParser, ViewsHaveAliasesCategoriesAndTheirOwnIds) {
    const auto db = Parse(R"json({"views": {"($People)|People": [{"category": "D"}, 4, 8], "($Servers)": []},
                              "notes": [{"id": 4}, {"id": 8}]})json");
    ASSERT_TRUE(db);
    const SimView* people = db->FindView("people");
    ASSERT_NE(people, nullptr);
    EXPECT_EQ(people, db->FindView("($PEOPLE)"));
    ASSERT_EQ(people->entries.size(), 3u);
    EXPECT_NE(people->entries[0].id & 0x80000000u, 0u);
    EXPECT_EQ(people->entries[0].category, "D");
    EXPECT_EQ(people->entries[2].id, 8u);
    EXPECT_GT(people->id, 8u);
    EXPECT_NE(db->FindView("($Servers)")->id, people->id);
    EXPECT_EQ(db->FindView("Nope"), nullptr);
}

TEST(DatabaseParser, MalformedFilesSayWhatIsWrong) {
    EXPECT_NE(ErrorOf(R"({"notes": [)").find("not valid JSON"), std::string::npos);
    EXPECT_NE(ErrorOf(R"([1])").find("not a JSON object"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": {}})").find("\"notes\" is not a list"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"items": [["A", {"odd": 1}]]}]})").find("unknown value form of item A"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"items": [["A", true]]}]})").find("item A"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"items": [["A"]]}]})").find("pair"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"items": [["A", "x", "y"]]}]})").find("pair"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"items": [["A", ["x", 1]]]}]})").find("non-text"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"items": [["A", {"type": 1, "hex": "0g"}]]}]})").find("hex"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"items": [["A", {"time": "yesterday"}]]}]})").find("bad time"),
              std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"id": 4}, {"id": 4}]})").find("given twice"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"notes": [{"id": -4}]})").find("bad note id"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"views": {"V": [44]}})").find("view V names missing note 44"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"views": {"V": ["x"]}})").find("neither note nor category"), std::string::npos);
    EXPECT_NE(ErrorOf(R"({"replicaId": "xyz"})").find("replicaId"), std::string::npos);
}

TEST(DatabaseParser, ALoadedDatabaseStaysWithinThreeTimesItsFileSize) {
    std::string json = R"({"title": "Directory", "notes": [)";
    for (int i = 0; i < 5000; ++i) {
        if (i > 0) json += ",";
        const std::string name = "Person Number " + std::to_string(i);
        json += R"({"id": )" + std::to_string(4 * (i + 1)) + R"(, "items": [["Form", "Person"], ["FullName", ["CN=)" +
                name + R"(/O=Acme", ")" + name + R"("]], ["MailServer", "CN=Mail01/O=Acme"], ["Size", 12.5]]})";
    }
    json += R"json(], "views": {"($People)": [)json";
    for (int i = 0; i < 5000; ++i) json += (i > 0 ? ", " : "") + std::to_string(4 * (i + 1));
    json += "]}}";
    const auto db = Parse(json);
    ASSERT_TRUE(db);
    EXPECT_LE(db->MemoryBytes(), 3 * json.size()) << db->MemoryBytes() << " for " << json.size();
}

}  // namespace
}  // namespace notessim
