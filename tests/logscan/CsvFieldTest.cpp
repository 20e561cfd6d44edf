#include <gtest/gtest.h>

#include <string>

#include "logscan/CsvField.h"

namespace logscan {
namespace {

TEST(QuoteCsvField, LeavesPlainValuesAlone) {
    EXPECT_EQ(QuoteCsvField(""), "");
    EXPECT_EQ(QuoteCsvField("CN=Jane Doe/O=Acme"), "CN=Jane Doe/O=Acme");
    EXPECT_EQ(QuoteCsvField("a\tb\x01c"), "a\tb\x01c");
    EXPECT_EQ(QuoteCsvField("J\xC3\xBCrgen \xE6\x9D\x8E"), "J\xC3\xBCrgen \xE6\x9D\x8E");
}

TEST(QuoteCsvField, QuotesCommaQuoteLineFeedAndCarriageReturn) {
    EXPECT_EQ(QuoteCsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(QuoteCsvField("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(QuoteCsvField("\""), "\"\"\"\"");
    EXPECT_EQ(QuoteCsvField("a\nb"), "\"a\nb\"");
    EXPECT_EQ(QuoteCsvField("\r\n"), "\"\r\n\"");
    // A CSV reader would end the record at a bare carriage return.
    EXPECT_EQ(QuoteCsvField("a\rb"), "\"a\rb\"");
    EXPECT_EQ(QuoteCsvField(std::string(40, 'x') + "\r"), "\"" + std::string(40, 'x') + "\r\"");
    EXPECT_EQ(QuoteCsvField(" \"x\", y "), "\" \"\"x\"\", y \"");
}

// The field as the rule reads, byte by byte.
std::string ReferenceField(std::string_view value) {
    if (value.find_first_of(",\"\n\r") == std::string_view::npos) return std::string(value);
    std::string field = "\"";
    for (const char c : value) field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

// The quoting works on blocks of bytes; values of every length around the block sizes, with
// the trigger bytes anywhere, must come out as the rule says, also through WriteCsvField.
TEST(QuoteCsvField, AgreesWithTheRuleAtEveryLengthAndPosition) {
    const std::string bytes = "ab,\"\n\r \xC3\xA9\x00";
    unsigned state = 1;
    for (int round = 0; round < 20000; ++round) {
        state = state * 1103515245u + 12345u;
        const std::size_t length = (state >> 8) % (round % 10 == 0 ? 400 : 70);
        std::string value;
        for (std::size_t i = 0; i < length; ++i) {
            state = state * 1103515245u + 12345u;
            const unsigned pick = (state >> 8) % 16;
            value += pick < bytes.size() ? bytes[pick] : static_cast<char>('c' + pick);
        }
        const std::string expected = ReferenceField(value);
        ASSERT_EQ(QuoteCsvField(value), expected) << value;
        std::string room(CsvFieldRoom(value.size()), '#');
        const char* end = WriteCsvField(value, room.data());
        ASSERT_EQ(std::string(room.data(), static_cast<std::size_t>(end - room.data())), expected)
            << value;
    }
}

}  // namespace
}  // namespace logscan
