#include <gtest/gtest.h>

#include <cctype>
#include <charconv>
#include <string>

#include "notes/NotesPlatform.h"
#include "notessim/SimControl.h"
#include "notessim/Statuses.h"

namespace {

std::string Text(double number) {
    char buffer[40];
    std::uint16_t length = 0;
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, sizeof buffer, &length), 0);
    return std::string(buffer, length);
}

TEST(NumberToText, GeneralFormatWithUpTo15SignificantDigits) {
    notessim::ResetRuntime();
    EXPECT_EQ(Text(3), "3");
    EXPECT_EQ(Text(0.5), "0.5");
    EXPECT_EQ(Text(1234.5), "1234.5");
    EXPECT_EQ(Text(1e20), "1E+20");
    EXPECT_EQ(Text(-2.25), "-2.25");
    EXPECT_EQ(Text(0), "0");
    EXPECT_EQ(Text(0.1 + 0.2), "0.3");
    EXPECT_EQ(Text(123456789012345678.0), "1.23456789012346E+17");
    EXPECT_EQ(Text(0.00001), "1E-05");
    EXPECT_EQ(Text(-1.5e-300), "-1.5E-300");
}

// Whole numbers and numbers of a few decimals take shorter ways than the general format: they
// must give the same text.
TEST(NumberToText, ShortWaysWriteWhatTheGeneralFormatWrites) {
    notessim::ResetRuntime();
    const double numbers[] = {0, 1, -1, 7, 200, 404, 1048576, 4294967296.0, -123456789,
                              9007199254740992.0 / 16, 999999999999999, -999999999999999,
                              1e15, -1e15, 1e16, 123456789012345678.0, -0.0, 2.5, 1e-5};
    for (const double number : numbers) {
        char general[64];
        const auto end = std::to_chars(general, general + sizeof general, number,
                                       std::chars_format::general, 15).ptr;
        std::string expected(general, end);
        for (char& c : expected) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(Text(number), expected) << number;
    }
    EXPECT_EQ(Text(-0.0), "-0");
    EXPECT_EQ(Text(1e15), "1E+15");
    EXPECT_EQ(Text(29.97), "29.97");
    EXPECT_EQ(Text(0.001), "0.001");
    EXPECT_EQ(Text(3.0000000000000004), "3");

    unsigned long long state = 1;
    const auto next = [&] { return state = state * 6364136223846793005ull + 1442695040888963407ull; };
    for (int i = 0; i < 100000; ++i) {
        const auto whole = static_cast<long long>(next() >> 24) - (1ll << 39);
        const double scales[] = {1, 10, 100, 1000, 10000, 100000, 1e7};
        const double number = static_cast<double>(whole) / scales[(next() >> 40) % 7];
        char general[64];
        const auto end = std::to_chars(general, general + sizeof general, number,
                                       std::chars_format::general, 15).ptr;
        std::string expected(general, end);
        for (char& c : expected) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        ASSERT_EQ(Text(number), expected) << whole;
    }
}

TEST(NumberToText, BufferTooSmallAndFaults) {
    notessim::ResetRuntime();
    const double number = 1234.5;
    char buffer[8] = "xxxxxxx";
    std::uint16_t length = 99;
    // The size counts the terminator: six characters need seven bytes, and the library pads
    // the rest of what it was given with NULs.
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 6, &length), 0x0409);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(std::string(buffer, 8), std::string("xxxxxxx\0", 8));
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 7, &length), 0);
    EXPECT_EQ(std::string(buffer, 8), std::string("1234.5\0\0", 8));
    EXPECT_EQ(length, 6);
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 8, &length), 0);
    EXPECT_EQ(std::string(buffer, 8), std::string("1234.5\0\0", 8));
    notessim::SetFaults("NumberToText:0x040A");
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 8, &length), 0x040A);  // ERR_IFMT
    notessim::ResetRuntime();
}

}  // namespace
