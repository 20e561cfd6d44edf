#include <gtest/gtest.h>

#include <string>

#include "logscan/CsvField.h"
#include "logscan/CsvFieldSearch.h"

namespace logscan {
namespace {

TEST(CsvField, LeavesPlainValuesAlone) {
    EXPECT_EQ(QuoteCsvField(""), "");
    EXPECT_EQ(QuoteCsvField("CN=Jane Doe/O=Acme"), "CN=Jane Doe/O=Acme");
    EXPECT_EQ(QuoteCsvField("a\tb\x01c"), "a\tb\x01c");
    EXPECT_EQ(QuoteCsvField("J\xC3\xBCrgen \xE6\x9D\x8E"), "J\xC3\xBCrgen \xE6\x9D\x8E");
}

TEST(CsvField, QuotesCommaQuoteLineFeedAndCarriageReturn) {
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

// The search for trigger bytes reads blocks of 4, 8, 16 and 32 bytes, the quote doubling blocks
// of 16, and values past 128 bytes are quoted on the heap: at every length around them, each
// trigger byte at each position, and double quotes at both ends, must come out quoted, also
// through WriteCsvField.
TEST(CsvField, FindsTriggersAtEveryPositionOfValuesAroundTheBlockSizes) {
    const auto expect = [](const std::string& value, const std::string& field) {
        ASSERT_EQ(QuoteCsvField(value), field) << value.size();
        std::string room(CsvFieldRoom(value.size()), '#');
        const char* end = WriteCsvField(value, room.data());
        ASSERT_EQ(std::string(room.data(), static_cast<std::size_t>(end - room.data())), field);
    };
    for (std::size_t length = 1; length <= 140; ++length) {
        const std::string plain(length, 'x');
        expect(plain, plain);
        for (std::size_t at = 0; at < length; ++at) {
            for (const char trigger : {',', '\n', '\r'}) {
                std::string value = plain;
                value[at] = trigger;
                expect(value, "\"" + value + "\"");
            }
            std::string quote = plain;
            quote[at] = '"';
            expect(quote, "\"" + plain.substr(0, at) + "\"\"" + plain.substr(at + 1) + "\"");
        }
        if (length >= 2) {
            const std::string inner(length - 2, 'x');
            expect("\"" + inner + "\"", "\"\"\"" + inner + "\"\"\"");
        }
    }
}

// The word-at-a-time search of builds without SSE2: each trigger byte at each position of values
// up to three words and a half long, and no other byte value anywhere.
TEST(CsvField, TheWordAtATimeSearchFindsEachTriggerAtEveryPositionAndNothingElse) {
    for (std::size_t length = 0; length <= 28; ++length) {
        for (int byte = 0; byte < 256; ++byte) {
            const char c = static_cast<char>(byte);
            const bool trigger = c == ',' || c == '"' || c == '\n' || c == '\r';
            ASSERT_EQ(csvsearch::NeedsQuotingByWords(std::string(length, c)), trigger && length > 0)
                << length << " bytes of " << byte;
            if (!trigger) continue;
            for (std::size_t at = 0; at < length; ++at) {
                std::string value(length, 'x');
                value[at] = c;
                ASSERT_TRUE(csvsearch::NeedsQuotingByWords(value)) << length << " " << at << " " << byte;
            }
        }
    }
}

}  // namespace
}  // namespace logscan
