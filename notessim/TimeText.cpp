#include "notessim/TimeText.h"

#include <cstdint>

namespace notessim {
namespace {

bool Digits(std::string_view text, std::size_t at, std::size_t count, int base, std::uint32_t& value) {
    if (at + count > text.size()) return false;
    std::uint32_t result = 0;  // at most 8 hexadecimal or 4 decimal digits: no overflow
    for (std::size_t i = at; i < at + count; ++i) {
        const char c = text[i];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            return false;
        }
        result = result * static_cast<std::uint32_t>(base) + digit;
    }
    value = result;
    return true;
}

// Julian day number of a Gregorian date.
std::uint32_t JulianDay(std::uint32_t year, std::uint32_t month, std::uint32_t day) {
    const int a = (14 - static_cast<int>(month)) / 12;
    const int y = static_cast<int>(year) + 4800 - a;
    const int m = static_cast<int>(month) + 12 * a - 3;
    return static_cast<std::uint32_t>(static_cast<int>(day) + (153 * m + 2) / 5 + 365 * y + y / 4 -
                                      y / 100 + y / 400 - 32045);
}

bool ParseUtc(std::string_view text, TIMEDATE& time) {
    std::uint32_t year, month, day, hour, minute, second, hundredths = 0;
    if (text.size() < 20 || text.back() != 'Z' || text[4] != '-' || text[7] != '-' ||
        text[10] != 'T' || text[13] != ':' || text[16] != ':') {
        return false;
    }
    if (!Digits(text, 0, 4, 10, year) || !Digits(text, 5, 2, 10, month) ||
        !Digits(text, 8, 2, 10, day) || !Digits(text, 11, 2, 10, hour) ||
        !Digits(text, 14, 2, 10, minute) || !Digits(text, 17, 2, 10, second)) {
        return false;
    }
    if (text.size() == 23) {
        if (text[19] != '.' || !Digits(text, 20, 2, 10, hundredths)) return false;
    } else if (text.size() != 20) {
        return false;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    time.Innards[1] = JulianDay(year, month, day);
    time.Innards[0] = ((hour * 60 + minute) * 60 + second) * 100 + hundredths;
    return true;
}

}  // namespace

bool ParseTimeText(std::string_view text, TIMEDATE& time) {
    std::uint32_t high = 0, low = 0;
    if (text.size() == 16 && Digits(text, 0, 8, 16, high) && Digits(text, 8, 8, 16, low)) {
        time.Innards[1] = high;
        time.Innards[0] = low;
        return true;
    }
    return ParseUtc(text, time);
}

}  // namespace notessim
