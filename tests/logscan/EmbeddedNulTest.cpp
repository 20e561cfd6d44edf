// A text value holding a NUL byte (found by fuzzing the handler): the row's print stops at the
// NUL, so the value must end there before it is quoted, or a quoted field loses its closing
// quote and the fields after it, and the open quote swallows the rows that follow.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "logscan/ActivityRecordHandler.h"
#include "logscan/ActivityScanContext.h"
#include "notessim/SimControl.h"
#include "tests/logscan/ItemTableBuilder.h"

namespace logscan {
namespace {

using namespace std::literals;
using logscantest::BuildTable;
using logscantest::RawItem;
using logscantest::Text;

std::string RowOf(const char* type, const std::vector<RawItem>& items) {
    notessim::ResetRuntime();
    char* buffer = nullptr;
    std::size_t size = 0;
    ActivityScanContext context;
    context.output = open_memstream(&buffer, &size);
    EXPECT_NE(context.output, nullptr);
    notes::TimeDate time{};
    notes::MakeTimeValue(0x00258EC0, 0x002BF200, &time);
    const auto table = BuildTable(items);
    EXPECT_EQ(HandleActivityRecord(type, 0, 0, nullptr, &time, table.data(), &context), 0);
    std::fclose(context.output);
    std::string row(buffer, size);
    std::free(buffer);
    return row;
}

TEST(EmbeddedNul, AQuotedValueEndsAtTheNulWithItsClosingQuote) {
    const std::string row =
        RowOf("Domino.HTTP",
              {Text("RequestLine", u"GET / HTTP/1.1"), Text("AuthUser", u"Anonymous"),
               Text("UserAgent", u"Mozilla\nGecko\u0000,junk\"x"sv), Text("StatusCode", u"404")});
    EXPECT_EQ(
        row, ",GET / HTTP/1.1,Anonymous,,,Domino.HTTP,00258EC0002BF200,\"Mozilla\nGecko\",404,,\n");
}

TEST(EmbeddedNul, TheQuotingIsDecidedOnWhatIsWritten) {
    const std::string row = RowOf("Domino.AGENT", {Text("TaskName", u"Archive\u0000, nightly"sv),
                                                   Text("UserName", u"\u0000\""sv)});
    EXPECT_EQ(row, ",,,Archive,,Domino.AGENT,00258EC0002BF200,,,,\n");
}

}  // namespace
}  // namespace logscan
