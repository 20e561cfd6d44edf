// WriteNameElement on summaries built by the runtime, written by a printer in memory.
#include <gtest/gtest.h>
#include <tinyxml2.h>

#include "directory/NameElements.h"
#include "notes/NotesStatuses.h"
#include "notessim/Database.h"
#include "notessim/ItemTable.h"
#include "notessim/TextCopy.h"

namespace {

using notessim::SimItem;

SimItem Text(const std::string& name, const std::string& utf8) {
    return {name, notes::kTypeText, notessim::Utf8ToLibraryText(utf8)};
}

SimItem List(const std::string& name, const std::vector<std::string>& utf8) {
    std::vector<std::string> texts;
    for (const std::string& text : utf8) texts.push_back(notessim::Utf8ToLibraryText(text));
    return {name, notes::kTypeTextList, notessim::BuildTextList(texts)};
}

// What the writer prints for a user entry with these items.
std::string UserElement(const std::vector<SimItem>& items) {
    std::vector<const SimItem*> pointers;
    for (const SimItem& item : items) pointers.push_back(&item);
    const std::string table = notessim::BuildItemTable(pointers);
    tinyxml2::XMLPrinter printer(nullptr, false, 0);
    directory::WriteUser(printer, table.data());
    return printer.CStr();
}

TEST(NameElements, ListGivesItsFirstEntryAndTextItsText) {
    EXPECT_EQ(UserElement({Text("Form", "Person"), List("fullname", {"CN=A/O=B", "A"})}),
              "<user name=\"CN=A/O=B\"/>\n");
    EXPECT_EQ(UserElement({Text("FullName", "Jane")}), "<user name=\"Jane\"/>\n");
    EXPECT_EQ(UserElement({Text("FullName", "")}), "<user name=\"\"/>\n");
    EXPECT_EQ(UserElement({List("FullName", {"", "B"})}), "<user name=\"\"/>\n");
}

TEST(NameElements, EntryWithoutTheItemOrWithAnEmptyListLeavesNoTrace) {
    EXPECT_EQ(UserElement({Text("LastName", "Doe")}), "");
    EXPECT_EQ(UserElement({List("FullName", {})}), "");
}

TEST(NameElements, MarkupCharactersAreEscapedAndOtherLettersPassAsUtf8) {
    EXPECT_EQ(UserElement({Text("FullName", "a\"b&c'd<e>f \xC5\x81\xC3\xB3\xE5\xB1\xB1")}),
              "<user name=\"a&quot;b&amp;c&apos;d&lt;e&gt;f \xC5\x81\xC3\xB3\xE5\xB1\xB1\"/>\n");
}

// nab.xml must stay well-formed XML whatever a name holds.
TEST(NameElements, CharactersXmlForbidsAreLeftOut) {
    const std::string name = "a\x01" "b\x08" "c\x0B\x0C\x1F\td\xEF\xBF\xBE\xEF\xBF\xBF" "e";
    EXPECT_EQ(UserElement({Text("FullName", name)}), "<user name=\"abc&#x9;de\"/>\n");
    tinyxml2::XMLDocument parsed;
    const std::string element = UserElement({Text("FullName", "x\x02y\x1Bz")});
    EXPECT_EQ(parsed.Parse(element.c_str()), tinyxml2::XML_SUCCESS) << element;
    EXPECT_EQ(element, "<user name=\"xyz\"/>\n");
}

TEST(NameElements, ANameThatIsNotTextCountsAsMissing) {
    const std::string eightBytes = "\x41\x42\x43\x44\x01\x02\x03\x04";
    EXPECT_EQ(UserElement({{"FullName", notes::kTypeNumber, eightBytes}}), "");
    EXPECT_EQ(UserElement({{"FullName", notes::kTypeTime, eightBytes}}), "");
}

// A list whose words claim more than its value holds: the library would read past the value
// (into the next item, or out of the buffer), so the name counts as missing. The table is a
// vector of exactly its size, so that a read past it shows under AddressSanitizer.
TEST(NameElements, AListThatDoesNotFitItsValueCountsAsMissing) {
    const auto user = [](const std::string& list) {
        const SimItem items[] = {{"FullName", notes::kTypeTextList, list},
                                 {"Password", notes::kTypeText, "secret"}};
        const std::string built = notessim::BuildItemTable({&items[0], &items[1]});
        std::vector<char> table(built.begin(), built.end());
        tinyxml2::XMLPrinter printer(nullptr, false, 0);
        directory::WriteUser(printer, table.data());
        return std::string(printer.CStr());
    };
    EXPECT_EQ(user(std::string("\xFF\xFF\x00\x00", 4)), "");        // 65535 entries in 4 bytes
    EXPECT_EQ(user(std::string("\x01\x00\x03\x00" "ab", 6)), "");  // 3 bytes, 2 there
    EXPECT_EQ(user(std::string("\x01\x00\x02\x00" "ab", 6)), "<user name=\"ab\"/>\n");
    EXPECT_EQ(user(std::string("\x01\x00\x01\x00" "ab", 6)), "<user name=\"a\"/>\n");
    // The first entry fits, a later one does not: the list as a whole is not to be trusted.
    EXPECT_EQ(user(std::string("\x02\x00\x01\x00\x02\x00" "ab", 8)), "");
    EXPECT_EQ(user(std::string("\x02\x00\x01\x00\x01\x00" "ab", 8)), "<user name=\"a\"/>\n");
    EXPECT_EQ(user(std::string("\x02\x00\x00\x00", 4)), "");  // the second length is missing
    EXPECT_EQ(user(std::string("\x01", 1)), "");                 // not even a count
    EXPECT_EQ(user(std::string()), "");
}

// A name holds at most 1023 bytes: ASCII one either side of the limit, and two-byte characters,
// whose 512th would end at byte 1024, so that the cut falls between characters.
TEST(NameElements, OverlongNamesAreCutTo1023BytesBetweenCharacters) {
    for (const std::size_t length : {1022u, 1023u, 1024u}) {
        EXPECT_EQ(UserElement({Text("FullName", std::string(length, 'a'))}),
                  "<user name=\"" + std::string(std::min<std::size_t>(length, 1023), 'a') +
                      "\"/>\n")
            << length;
    }
    std::string name;
    for (int i = 0; i < 600; ++i) name += "\xC3\xA9";
    std::string expected = "<user name=\"";
    for (int i = 0; i < 511; ++i) expected += "\xC3\xA9";
    EXPECT_EQ(UserElement({Text("FullName", name)}), expected + "\"/>\n");
}

TEST(NameElements, ServerEntryIsWrittenFromServerName) {
    const SimItem item = Text("ServerName", "CN=Hub01/O=Acme");
    const std::string table = notessim::BuildItemTable({&item});
    tinyxml2::XMLPrinter printer(nullptr, false, 0);
    directory::WriteServer(printer, table.data());
    EXPECT_STREQ(printer.CStr(), "<server name=\"CN=Hub01/O=Acme\"/>\n");
}

}  // namespace
