#include <gtest/gtest.h>

#include "logscan/CsvField.h"

namespace logscan {
namespace {

TEST(QuoteCsvField, LeavesPlainValuesAlone) {
    EXPECT_EQ(QuoteCsvField(""), "");
    EXPECT_EQ(QuoteCsvField("CN=Jane Doe/O=Acme"), "CN=Jane Doe/O=Acme");
    EXPECT_EQ(QuoteCsvField("a\rb\tc"), "a\rb\tc");
    EXPECT_EQ(QuoteCsvField("J\xC3\xBCrgen \xE6\x9D\x8E"), "J\xC3\xBCrgen \xE6\x9D\x8E");
}

TEST(QuoteCsvField, QuotesCommaQuoteAndLineFeed) {
    EXPECT_EQ(QuoteCsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(QuoteCsvField("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(QuoteCsvField("\""), "\"\"\"\"");
    EXPECT_EQ(QuoteCsvField("a\nb"), "\"a\nb\"");
    EXPECT_EQ(QuoteCsvField("\r\n"), "\"\r\n\"");
    EXPECT_EQ(QuoteCsvField(" \"x\", y "), "\" \"\"x\"\", y \"");
}

}  // namespace
}  // namespace logscan
