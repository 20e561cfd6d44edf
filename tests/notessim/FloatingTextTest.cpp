// The C library's conversions stand in for the floating-point std::from_chars and std::to_chars
// where the standard library lacks them (GCC 10): here both run side by side.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "notessim/FloatingText.h"

#if defined(__cpp_lib_to_chars) && !defined(_WIN32)
namespace {

struct Parsed {
    std::errc error;
    std::ptrdiff_t used;
    std::uint64_t bits;
    bool operator==(const Parsed&) const = default;
};

Parsed Parse(const std::string& text, bool cLibrary) {
    double value = 42;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = cLibrary ? notessim::c_library::DoubleFromChars(first, last, value)
                                       : std::from_chars(first, last, value);
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return {error, end - first, bits};
}

std::string Format(double value, int precision, std::size_t room, bool cLibrary) {
    std::string text(room, '\0');
    char* first = text.data();
    const auto [end, error] =
        cLibrary ? notessim::c_library::DoubleToChars(first, first + room, value, precision)
                 : std::to_chars(first, first + room, value, std::chars_format::general, precision);
    if (error != std::errc()) return "error " + std::to_string(static_cast<int>(error));
    return text.substr(0, static_cast<std::size_t>(end - first));
}

TEST(FloatingText, ReadsWhatFromCharsReads) {
    const std::vector<std::string> texts = {
        "0", "-0", "123.456", "00012.5e-1", ".5", "-.5", "5.", "1.e3", "1e", "1e+", "1e5x", "1.5x",
        "0x10", "1e400", "-1e400", "1e-400", "1e-310", "4.9e-324", "2.4e-324", "2.5e-324",
        "1.7976931348623157e308", "1.7976931348623159e308", "0e999999", "inf", "-Infinity",
        "infinit", "nan", "-nan", "NaN(1_a)", "nan(", "nan()x", "", "-", "+1", " 1", "e5", "-.e1"};
    for (const std::string& text : texts) {
        EXPECT_EQ(Parse(text, true), Parse(text, false)) << text;
    }
    const Parsed subnormal = Parse("1e-310", true);
    EXPECT_EQ(subnormal.error, std::errc());
    EXPECT_EQ(subnormal.bits, 0x000012688b70e62bu);
    EXPECT_EQ(Parse("2.4e-324", true).error, std::errc::result_out_of_range);
    EXPECT_EQ(Parse("0x10", true).used, 1);
}

TEST(FloatingText, WritesWhatToCharsWrites) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    std::vector<double> values = {0.0, -0.0, 0.1, 1.0 / 3, 1e15, 1e21, 5e-324,
                                  1.7976931348623157e308, 123456789012345678.0, kInfinity,
                                  -kInfinity};
    std::mt19937_64 random(18);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        values.push_back(value);
    }
    for (const double value : values) {
        for (const int precision : {15, 6, 17}) {
            EXPECT_EQ(Format(value, precision, 32, true), Format(value, precision, 32, false))
                << value;
        }
        EXPECT_EQ(Format(value, 15, 3, true), Format(value, 15, 3, false)) << value;
        const std::string text = Format(value, 17, 32, true);
        EXPECT_EQ(Parse(text, true), Parse(text, false)) << text;
    }
    EXPECT_EQ(Format(123456789012345678.0, 15, 32, true), "1.23456789012346e+17");
    EXPECT_EQ(Format(-1.5e-300, 15, 9, true), "-1.5e-300");
    EXPECT_EQ(Format(-1.5e-300, 15, 8, true), "error 75");
}

}  // namespace
#endif
