// Directory data a hostile or damaged directory may hold, through the program as it ships:
// malformed text lists, names with control characters, one name in two encodings.
#include <gtest/gtest.h>

#include <tinyxml2.h>

#include <nlohmann/json.hpp>

#include "tests/directory/DirectoryEdit.h"
#include "tests/support/AcmeRun.h"

namespace {

using directorytest::EditDirectory;
using directorytest::NoteItems;
using testsupport::AcmeRun;
using testsupport::ReadFile;

constexpr const char* kJaneLine = "        <user name=\"CN=Jane Doe/O=Acme\"/>\r\n";

nlohmann::json Item(const std::string& name, const nlohmann::json& value) {
    return nlohmann::json::array({name, value});
}

nlohmann::json Raw(int type, const std::string& hex) { return {{"type", type}, {"hex", hex}}; }

std::string NabOfTheSample() {
    const AcmeRun run;
    EXPECT_EQ(run.Run({"-nab"}).exitCode, 0);
    return ReadFile(run.OutputFile("nab.xml"));
}

// A FullName list that claims 65535 entries in four bytes, followed by a password item: the
// library would read the entries from the password and past the buffer. The name is missing.
TEST(HostileNamesEndToEnd, AListThatDoesNotFitItsValueIsAMissingName) {
    std::string expected = NabOfTheSample();
    const std::size_t jane = expected.find(kJaneLine);
    ASSERT_NE(jane, std::string::npos);
    expected.erase(jane, std::string(kJaneLine).size());

    for (const char* list : {"ffff0000", "01000900" "4a616e65"}) {
        SCOPED_TRACE(list);
        const AcmeRun run;
        EditDirectory(run, [&](nlohmann::json& names) {
            auto& items = NoteItems(names, 8);
            items[1] = Item("FullName", Raw(0x0501, list));
            items.insert(items.begin() + 2, Item("HTTPPassword", "secret-of-jane"));
        });
        ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
        EXPECT_EQ(ReadFile(run.OutputFile("nab.xml")), expected);
        EXPECT_EQ(run.Log(), std::vector<std::string>{});
        run.ExpectEveryHandleReleased();
    }
}

// Written as themselves, TAB, LF and CR would be read back as spaces (attribute value
// normalization); as character references a reader gets them back.
TEST(HostileNamesEndToEnd, TabAndLineEndsInANameAreWrittenAsReferences) {
    const AcmeRun run;
    const std::string name = "Jane\tDoe\r\nAcme\rSales\nEast \"&'<>";
    EditDirectory(run,
                  [&](nlohmann::json& names) { NoteItems(names, 8)[1] = Item("FullName", name); });
    ASSERT_EQ(run.Run({"-nab"}).exitCode, 0);
    const std::string nab = ReadFile(run.OutputFile("nab.xml"));
    const std::string line = "        <user name=\"Jane&#x9;Doe&#xD;&#xA;Acme&#xD;Sales&#xA;East "
                             "&quot;&amp;&apos;&lt;&gt;\"/>\r\n";
    EXPECT_NE(nab.find(line), std::string::npos) << nab;
    tinyxml2::XMLDocument parsed;
    ASSERT_EQ(parsed.Parse(nab.c_str()), tinyxml2::XML_SUCCESS);
    EXPECT_EQ(std::string(parsed.RootElement()->FirstChildElement("people")
                              ->FirstChildElement("user")->NextSiblingElement()->Attribute("name")),
              name);
}

// Connection destinations with control characters, a malformed list, and one name in two LMBCS
// encodings (é as the code page byte 82 and as group 01 byte 82), of which one sorts before
// "Cafz" in LMBCS and neither does in UTF-8.
TEST(HostileNamesEndToEnd, ServerListHasOneLinePerNameSortedAndUniqueAsWritten) {
    const AcmeRun run;
    const std::vector<nlohmann::json> destinations = {
        "Line\nFeed", "Line Feed", "Car\rReturn", "Tab\there", "Unit\x1f" "x",
        Raw(0x0500, "436166" "82"), Raw(0x0500, "436166" "0182"),
        Raw(0x0501, "ffff0000"),  // a list that does not fit: no name
        "Cafz"};
    EditDirectory(run, [&](nlohmann::json& names) {
        int id = 300;
        for (const auto& destination : destinations) {
            const auto items = nlohmann::json::array(
                {Item("Form", "Connection"), Item("Destination", destination)});
            names["notes"].push_back({{"id", id}, {"items", items}});
            names["views"]["$Connections"].push_back(id);
            id += 4;
        }
    });
    ASSERT_EQ(run.Run({"-servers"}).exitCode, 0);
    EXPECT_EQ(ReadFile(run.OutputFile("servers.txt")),
              "Apps01/Srv/Acme\r\n"
              "Cafz\r\n"
              "Caf\xC3\xA9\r\n"
              "Car Return\r\n"
              "Hub01/Acme\r\n"
              "Line Feed\r\n"
              "Mail01/Acme\r\n"
              "Relay01/Edge/Acme\r\n"
              "Tab here\r\n"
              "Unit x\r\n"
              "hub01/Acme\r\n");
    EXPECT_EQ(run.Log(), std::vector<std::string>{});
    run.ExpectEveryHandleReleased();
}

}  // namespace
