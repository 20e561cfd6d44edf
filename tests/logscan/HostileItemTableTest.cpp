// Item tables whose lengths claim more than the record holds: the handler must stay inside the
// record's total length. Each table is allocated to exactly that length, so that a read past it
// shows under AddressSanitizer.
#include <gtest/gtest.h>

#include "logscan/ActivityItems.h"
#include "logscan/ActivityRecordHandler.h"
#include "logscan/ActivityScanContext.h"
#include "notessim/SimControl.h"
#include "tests/logscan/ItemTableBuilder.h"

namespace logscan {
namespace {

using logscantest::BuildTable;
using logscantest::PutWord;
using logscantest::Text;
using ItemTexts = std::vector<std::pair<std::string, std::string>>;

std::vector<unsigned char> Words(std::initializer_list<std::size_t> words) {
    std::vector<unsigned char> bytes;
    for (const std::size_t word : words) PutWord(bytes, word);
    return bytes;
}

// Replaces the 16-bit word at byte `at` of `table`.
void SetWord(std::vector<unsigned char>& table, std::size_t at, std::size_t word) {
    table[at] = static_cast<unsigned char>(word & 0xFF);
    table[at + 1] = static_cast<unsigned char>(word >> 8);
}

class HostileItemTable : public ::testing::Test {
protected:
    void SetUp() override { notessim::ResetRuntime(); }
};

TEST_F(HostileItemTable, TotalShorterThanTheHeader) {
    EXPECT_TRUE(ReadActivityItems(Words({2}).data()).empty());
    EXPECT_TRUE(ReadActivityItems(Words({0, 5}).data()).empty());
}

TEST_F(HostileItemTable, DescriptorsBeyondTheTotal) {
    // 1000 items claimed in an 8-byte record.
    EXPECT_TRUE(ReadActivityItems(Words({8, 1000, 1, 2}).data()).empty());
}

TEST_F(HostileItemTable, NameOrValueLongerThanWhatIsLeft) {
    auto table = BuildTable({Text("UserName", u"Jane"), Text("TaskName", u"Archive")});
    SetWord(table, 4 + 4 + 2, 60000);  // the second value claims 60000 bytes
    EXPECT_EQ(ReadActivityItems(table.data()).Entries(), (ItemTexts{{"UserName", "Jane"}}));

    SetWord(table, 4, 0xFFFF);  // now the first name too
    EXPECT_TRUE(ReadActivityItems(table.data()).empty());
}

TEST_F(HostileItemTable, TotalLengthSmallerThanTheItemsHeld) {
    auto table = BuildTable({Text("UserName", u"Jane"), Text("TaskName", u"Archive")});
    const std::size_t firstItemEnd = 4 + 8 + 8 + 2 + 4;
    SetWord(table, 0, firstItemEnd + 3);
    table.resize(firstItemEnd + 3);
    EXPECT_EQ(ReadActivityItems(table.data()).Entries(), (ItemTexts{{"UserName", "Jane"}}));
}

TEST_F(HostileItemTable, ValuesTooShortForTheirType) {
    // A number of 2 data bytes and a value of a single byte, each at the record's very end.
    std::vector<unsigned char> number = Words({4 + 4 + 1 + 4, 1, 1, 4});
    number.push_back('N');
    PutWord(number, notes::kTypeNumber);
    PutWord(number, 0x4000);
    EXPECT_EQ(ReadActivityItems(number.data()).Entries(), (ItemTexts{{"N", "-not text-"}}));

    std::vector<unsigned char> oneByte = Words({4 + 4 + 1 + 1, 1, 1, 1});
    oneByte.push_back('V');
    oneByte.push_back(0x05);
    EXPECT_EQ(ReadActivityItems(oneByte.data()).Entries(), (ItemTexts{{"V", "-not text-"}}));
}

TEST_F(HostileItemTable, HandlerWritesNoRowFromItemsOutsideTheRecord) {
    auto table = BuildTable({Text("TaskName", u"Archive"), Text("UserName", u"Jane")});
    SetWord(table, 0, table.size() - 1);  // the last byte of UserName lies outside the record
    table.pop_back();
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ActivityScanContext context;
    context.output = file;
    notes::TimeDate time{};
    EXPECT_EQ(HandleActivityRecord("Domino.AGENT", 0, 0, nullptr, &time, table.data(), &context), 0);
    EXPECT_EQ(std::ftell(file), 0);
    std::fclose(file);
}

}  // namespace
}  // namespace logscan
