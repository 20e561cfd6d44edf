#include "tests/catalog/CatalogTestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <regex>

namespace catalogtest {

const std::string* DxlDocument::Item(const std::string& name) const {
    for (const auto& [itemName, value] : items) {
        if (itemName == name) return &value;
    }
    return nullptr;
}

std::vector<DxlDocument> ReadDxl(const std::filesystem::path& file) {
    const std::string content = testsupport::ReadFile(file);
    tinyxml2::XMLDocument xml;
    if (xml.Parse(content.data(), content.size()) != tinyxml2::XML_SUCCESS) {
        ADD_FAILURE() << file << " is not well-formed: " << xml.ErrorStr();
        return {};
    }
    const tinyxml2::XMLElement* database = xml.FirstChildElement("database");
    if (database == nullptr) {
        ADD_FAILURE() << file << " has no database element";
        return {};
    }
    std::vector<DxlDocument> documents;
    for (auto* element = database->FirstChildElement(); element != nullptr;
         element = element->NextSiblingElement()) {
        EXPECT_STREQ(element->Name(), "document");
        DxlDocument document;
        document.noteId = element->Attribute("noteid") ? element->Attribute("noteid") : "";
        for (auto* item = element->FirstChildElement("item"); item != nullptr;
             item = item->NextSiblingElement("item")) {
            const tinyxml2::XMLElement* value = item->FirstChildElement();
            const char* text = value != nullptr ? value->GetText() : nullptr;
            document.items.emplace_back(item->Attribute("name"), text != nullptr ? text : "");
        }
        documents.push_back(std::move(document));
    }
    return documents;
}

std::vector<std::string> NoteIds(const std::vector<DxlDocument>& documents) {
    std::vector<std::string> ids;
    for (const DxlDocument& document : documents) ids.push_back(document.noteId);
    return ids;
}

bool HasCrLfLineEnds(const std::string& content) {
    for (std::size_t i = 0; i < content.size(); ++i) {
        const bool lineFeed = content[i] == '\n';
        const bool carriageReturn = content[i] == '\r';
        if (lineFeed && (i == 0 || content[i - 1] != '\r')) return false;
        if (carriageReturn && (i + 1 == content.size() || content[i + 1] != '\n')) return false;
    }
    return true;
}

void WriteBigCatalog(const testsupport::AcmeRun& run, int notes) {
    using Json = nlohmann::json;
    Json documents = Json::array();
    for (int i = 1; i <= notes; ++i) {
        Json items = Json::array();
        items.push_back(Json::array({"Form", "Notefile"}));
        items.push_back(Json::array({"Server", "CN=Hub01/O=Acme"}));
        items.push_back(Json::array({"Pathname", "db" + std::to_string(i) + ".nsf"}));
        items.push_back(Json::array({"Title", std::string(200, 'x')}));
        items.push_back(Json::array({"ReplicaId", Json{{"time", "C1257A3B004F1E2D"}}}));
        documents.push_back(Json{{"items", items}});
    }
    testsupport::WriteFile(run.environment() / "hub01" / "catalog.nsf",
                           Json{{"title", "Big"}, {"notes", documents}}.dump());
}

// Every exported note with a ReplicaId carries it as 16 uppercase hex digits in ReplicaIdText.
static void ExpectReplicaIdTexts(const std::vector<DxlDocument>& documents) {
    const std::regex sixteenHexDigits("[0-9A-F]{16}");
    for (const auto& document : documents) {
        const std::string* replicaId = document.Item("ReplicaId");
        const std::string* text = document.Item("ReplicaIdText");
        if (replicaId == nullptr) {
            EXPECT_EQ(text, nullptr) << document.noteId;
            continue;
        }
        ASSERT_NE(text, nullptr) << document.noteId;
        EXPECT_TRUE(std::regex_match(*text, sixteenHexDigits)) << *text;
        EXPECT_EQ(*text, *replicaId) << document.noteId;
    }
}

void ExpectCatalogFile(const std::filesystem::path& file, const std::vector<std::string>& ids) {
    const std::string content = testsupport::ReadFile(file);
    EXPECT_TRUE(HasCrLfLineEnds(content)) << file;
    const auto documents = ReadDxl(file);
    EXPECT_EQ(NoteIds(documents), ids) << file;
    ExpectReplicaIdTexts(documents);
}

}  // namespace catalogtest
