// LookupNames and the reading of its buffer; ConvertName.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "notessim/Statuses.h"
#include "tests/notessim/InMemoryEnvironment.h"

namespace {

using nlohmann::json;

json Note(notes::NoteId id, const json& items) { return {{"id", id}, {"items", items}}; }
json Item(const std::string& name, const json& value) { return json::array({name, value}); }

const std::string kLocalNames =
    json{{"notes",
          {Note(8, json::array({Item("Destination", "CN=Hub01/O=Acme"), Item("Port", "TCP")})),
           Note(12, json::array({Item("Form", "Connection")})),
           Note(16, json::array({Item("destination", json::array({"CN=Relay/O=Acme", "Second"}))}))}},
         {"views", {{"$Connections", {16, {{"category", "c"}}, 8, 12}}}}}
        .dump();
const std::string kMailNames =
    json{{"notes", {Note(4, json::array({Item("ServerName", "CN=Mail01/O=Acme")}))}},
         {"views", {{"($Servers)", {4}}}}}
        .dump();

struct Match {
    notes::NotesStatus status;
    std::string text;
};

class NameLookup : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::StartInMemoryRuntime("", {{"names.nsf", kLocalNames},
                                               {"servers.json", R"({"CN=Mail01/O=Acme": "mail01",
                                                                    "CN=Hub01/O=Acme": "hub01"})"},
                                               {"mail01/names.nsf", kMailNames}});
    }
    void TearDown() override { testsupport::StopInMemoryRuntime(); }

    // Every match of the one looked-up name: (item, value) read with a buffer of `size`.
    std::vector<Match> Lookup(const char* server, const char* nameSpace, const char* name,
                              const std::string& items, std::uint16_t itemCount,
                              std::uint16_t item, std::uint16_t value, std::uint16_t size = 256,
                              notes::NotesStatus* status = nullptr) {
        notes::MemoryHandle handle = 0;
        const auto looked = notes::LookupNames(server, 1, 1, nameSpace, 1, name, itemCount,
                                               items.c_str(), &handle);
        if (status != nullptr) *status = looked;
        std::vector<Match> matches;
        if (looked != 0) return matches;
        const void* lookup = notes::LockMemoryHandle(handle);
        std::uint16_t count = 0;
        const void* record = notes::FirstLookupName(lookup, nullptr, &count);
        const void* match = nullptr;
        for (std::uint16_t i = 0; i < count; ++i) {
            match = notes::NextNameMatch(lookup, record, match);
            char text[256] = "untouched";
            const auto got = notes::GetMatchItemText(match, item, value, text, size);
            matches.push_back({got, text});
        }
        EXPECT_EQ(notes::NextNameMatch(lookup, record, match), nullptr);
        EXPECT_EQ(notes::FirstLookupName(lookup, record, &count), nullptr);
        notes::UnlockMemoryHandle(handle);
        notes::FreeMemoryHandle(handle);
        return matches;
    }
};

TEST_F(NameLookup, EmptyNameUnderFlagOneMatchesEveryDocumentEntryInViewOrder) {
    const auto matches = Lookup(nullptr, "$Connections", "", "Destination", 1, 0, 0);
    ASSERT_EQ(matches.size(), 3u);  // the category is no match
    EXPECT_EQ(matches[0].text, "CN=Relay/O=Acme");
    EXPECT_EQ(matches[1].text, "CN=Hub01/O=Acme");
    EXPECT_EQ(matches[2].status, 0x0310);  // ERR_NO_SUCH_ITEM: the note has no Destination
    EXPECT_EQ(matches[2].text, "");
}

TEST_F(NameLookup, ItemsAreReadFromTheNoteInRequestOrderWithListValuesByIndex) {
    const std::string items("Port\0Destination", 17);
    EXPECT_EQ(Lookup("", "$Connections", "", items, 2, 1, 1)[0].text, "Second");
    EXPECT_EQ(Lookup("", "$Connections", "", items, 2, 0, 0)[1].text, "TCP");
    // ERR_NO_MORE_MEMBERS past a list's last member, and past a text's only one.
    EXPECT_EQ(Lookup("", "$Connections", "", items, 2, 1, 2)[0].status, 0x0311);
    EXPECT_EQ(Lookup("", "$Connections", "", items, 2, 0, 1)[1].status, 0x0311);
    EXPECT_EQ(Lookup("", "$Connections", "", items, 2, 1, 0, 6)[1].text, "CN=Hu");  // cut to fit
}

TEST_F(NameLookup, NamedServerIsSearchedInItsOwnDirectory) {
    const auto matches = Lookup("mail01/acme", "($servers)", "", "ServerName", 1, 0, 0);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].text, "CN=Mail01/O=Acme");
}

TEST_F(NameLookup, NonEmptyNameMatchesDocumentsNamingItInAnyForm) {
    const auto matches = Lookup(nullptr, "$Connections", "hub01/acme", "Port", 1, 0, 0);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].text, "TCP");
}

TEST_F(NameLookup, MissingViewDirectoryOrServerIsAStatus) {
    notes::NotesStatus status = 0;
    Lookup(nullptr, "($Servers)", "", "ServerName", 1, 0, 0, 256, &status);
    EXPECT_EQ(status, 0x0309);  // ERR_NO_SUCH_NAMESPACE
    Lookup("CN=Hub01/O=Acme", "($Servers)", "", "ServerName", 1, 0, 0, 256, &status);
    EXPECT_EQ(status, 0x030A);  // ERR_NO_NAMES_FILE
    // Which server's directory is missing is the runtime's diagnostic, not the status text's.
    EXPECT_EQ(notessim::StatusText(status), "Domino Directory does not exist");
    EXPECT_EQ(notessim::Diagnostics().back(),
              "0x030A: Unable to open the directory names.nsf on CN=Hub01/O=Acme");
    Lookup("CN=Nowhere/O=Acme", "($Servers)", "", "ServerName", 1, 0, 0, 256, &status);
    EXPECT_EQ(status, 0x0803);  // ERR_SERVER_NOT_FOUND
}

TEST_F(NameLookup, ConvertNameAbbreviatesAndRefusesWhatDoesNotFitWithItsTerminator) {
    char buffer[32];
    std::uint16_t length = 0;
    ASSERT_EQ(notes::ConvertName(0, nullptr, "CN=Mail01/OU=Srv/O=Acme/C=US", buffer, 32, &length), 0);
    EXPECT_STREQ(buffer, "Mail01/Srv/Acme/US");
    EXPECT_EQ(length, 18);
    ASSERT_EQ(notes::ConvertName(0, nullptr, "Plain Name", buffer, 32, nullptr), 0);
    EXPECT_STREQ(buffer, "Plain Name");
    ASSERT_EQ(notes::ConvertName(0, nullptr, "", buffer, 32, nullptr), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(notes::ConvertName(0, nullptr, "CN=abcd/O=efg", buffer, 9, nullptr), 0);
    EXPECT_EQ(notes::ConvertName(0, nullptr, "CN=abcd/O=efg", buffer, 8, nullptr),
              0x040E);  // ERR_NAME_LENGTH
}

}  // namespace
