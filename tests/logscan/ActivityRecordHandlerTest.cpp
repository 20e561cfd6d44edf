#include <gtest/gtest.h>

#include <cstdio>

#include "logscan/ActivityItems.h"
#include "logscan/ActivityRecordHandler.h"
#include "logscan/ActivityScanContext.h"
#include "notes/NotesStatuses.h"
#include "notessim/SimControl.h"
#include "tests/logscan/ItemTableBuilder.h"

namespace logscan {
namespace {

using logscantest::BuildTable;
using logscantest::Number;
using logscantest::RawItem;
using logscantest::Text;

notes::TimeDate Time(std::uint32_t high, std::uint32_t low) {
    notes::TimeDate time{};
    notes::MakeTimeValue(high, low, &time);
    return time;
}

// A scan writing its rows to a temporary file (without CR LF conversion: that is the stream's).
class ActivityRecordHandler : public ::testing::Test {
protected:
    void SetUp() override {
        notessim::ResetRuntime();
        file_ = std::tmpfile();
        ASSERT_NE(file_, nullptr);
        context_.output = file_;
    }
    void TearDown() override { std::fclose(file_); }

    notes::NotesStatus Handle(const char* type, const std::vector<unsigned char>& table,
                              notes::TimeDate time = Time(0x00258EC0, 0x002BF200)) {
        return HandleActivityRecord(type, 0, 0, nullptr, &time, table.data(), &context_);
    }

    std::string Rows() {
        std::fflush(file_);
        std::rewind(file_);
        std::string rows;
        char buffer[4096];
        while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, file_)) rows.append(buffer, got);
        std::fseek(file_, 0, SEEK_END);
        return rows;
    }

    std::FILE* file_ = nullptr;
    ActivityScanContext context_;
    // A record at `low` that yields a row unless it lacks the user name (`complete` false).
    notes::NotesStatus At(std::uint32_t low, bool complete = true) {
        const auto table = complete ? BuildTable({Text("TaskName", u"t"), Text("UserName", u"u")})
                                    : BuildTable({Text("TaskName", u"t")});
        return Handle("Domino.AGENT", table, Time(0x00258EC0, low));
    }
    std::size_t RowCount() {
        const std::string rows = Rows();
        return static_cast<std::size_t>(std::count(rows.begin(), rows.end(), '\n'));
    }
};

TEST_F(ActivityRecordHandler, ValuesOfOtherTypesAreNotConvertedButCountAsPresent) {
    const auto table = BuildTable({{"DatabaseName", notes::kTypeTime, std::string(8, '\1')},
                                   {"UserName", notes::kTypeTextList, std::string("\1\0\1\0a", 5)},
                                   {"SessionId", 0x0001, "\xff"}});
    EXPECT_EQ(Handle("Domino.NOTES.Database", table), 0);
    EXPECT_EQ(Rows(), ",-not text-,-not text-,,,Domino.NOTES.Database,00258EC0002BF200,-not text-,,,,\n");
}

TEST_F(ActivityRecordHandler, FirstItemOfANameWinsAndNamesAreExactBytes) {
    const auto table = BuildTable({Text("", u"nameless"), Text("UserName", u"first"),
                                   Text("UserName", u"second"), Text("taskname", u"lower"),
                                   Text("TaskName", u"Archive")});
    EXPECT_EQ(Handle("Domino.AGENT", table), 0);
    EXPECT_EQ(Rows(), ",,first,Archive,,Domino.AGENT,00258EC0002BF200,,,,\n");
    using ItemTexts = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(ReadActivityItems(table.data()).Entries(),
              (ItemTexts{{"UserName", "first"}, {"taskname", "lower"}, {"TaskName", "Archive"}}));

    // Past 32 names a repeated one is found another way, and still only the first is kept.
    std::vector<RawItem> many;
    ItemTexts kept;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "N" + std::to_string(i);
        many.push_back(Text(name, u"v"));
        kept.emplace_back(name, "v");
    }
    for (const char* repeated : {"N0", "N31", "N32", "N39"}) many.push_back(Text(repeated, u"again"));
    EXPECT_EQ(ReadActivityItems(BuildTable(many).data()).Entries(), kept);
}

TEST_F(ActivityRecordHandler, RecordsWithoutARequiredItemOrOfOtherTypesGiveNoRow) {
    EXPECT_EQ(Handle("Domino.HTTP", BuildTable({Text("RequestLine", u"GET /")})), 0);
    EXPECT_EQ(Handle("Domino.NOTES.Database", BuildTable({Text("UserName", u"x")})), 0);
    EXPECT_EQ(Handle("Domino.AGENT", BuildTable({Text("TaskName", u"x")})), 0);
    const auto everything = BuildTable({Text("RequestLine", u"GET /"), Text("AuthUser", u"x"),
                                        Text("UserName", u"x"), Text("TaskName", u"x"),
                                        Text("DatabaseName", u"x")});
    EXPECT_EQ(Handle("domino.http", everything), 0);
    EXPECT_EQ(Handle("Domino.IMAP", everything), 0);
    EXPECT_EQ(Handle("Domino.HTTP ", everything), 0);
    EXPECT_EQ(Rows(), "");
}

TEST_F(ActivityRecordHandler, AFailedPrintIs270) {
    std::FILE* readOnly = std::fopen("/dev/null", "r");
    ASSERT_NE(readOnly, nullptr);
    context_.output = readOnly;
    EXPECT_EQ(Handle("Domino.AGENT", BuildTable({Text("TaskName", u"t"), Text("UserName", u"u")})),
              notes::kStatusIoError);
    std::fclose(readOnly);
}

TEST_F(ActivityRecordHandler, ARowLimitOfOneKeepsEveryRecordOfTheFirstTime) {
    context_.recordLimit = 1;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(At(7), 0);
    EXPECT_EQ(At(8), notes::kStatusStopped);
    // Once stopped, a library that calls again gets the same answer, at the first time too.
    EXPECT_EQ(At(7), notes::kStatusStopped);
    EXPECT_EQ(RowCount(), 5u);
}

TEST_F(ActivityRecordHandler, RecordsWithoutRowsCountTowardTheRowLimit) {
    context_.recordLimit = 2;
    EXPECT_EQ(At(1, false), 0);
    EXPECT_EQ(At(2, false), 0);
    EXPECT_EQ(At(3), notes::kStatusStopped);
    EXPECT_EQ(RowCount(), 0u);
    EXPECT_EQ(context_.recordsSeen, 3);
}

TEST_F(ActivityRecordHandler, ARowLimitOfZeroOrLessMeansNoLimit) {
    for (const std::int32_t limit : {0, -5}) {
        context_.recordLimit = limit;
        for (std::uint32_t low = 1; low <= 10; ++low) EXPECT_EQ(At(low), 0);
    }
    EXPECT_EQ(RowCount(), 20u);
    context_.recordsSeen = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(At(11), 0);
    EXPECT_EQ(context_.recordsSeen, std::numeric_limits<std::int32_t>::max());
}

}  // namespace
}  // namespace logscan
