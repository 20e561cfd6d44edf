#include <gtest/gtest.h>

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

TEST(NumberToText, BufferTooSmallAndFaults) {
    notessim::ResetRuntime();
    const double number = 1234.5;
    char buffer[8] = "xxxxxxx";
    std::uint16_t length = 99;
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 5, &length),
              notessim::kStatusBufferTooSmall);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 6, &length), 0);
    EXPECT_EQ(std::string(buffer, 7), "1234.5x");
    EXPECT_EQ(length, 6);
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 7, &length), 0);
    EXPECT_EQ(std::string(buffer, 7), std::string("1234.5\0", 7));
    notessim::SetFaults("NumberToText:270");
    EXPECT_EQ(notes::NumberToText(nullptr, nullptr, &number, buffer, 8, &length), 270);
    notessim::ResetRuntime();
}

}  // namespace
