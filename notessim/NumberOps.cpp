// NumberToText: the library's default number format.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/FloatingText.h"
#include "notessim/Statuses.h"

using namespace notessim;

namespace {

// The digits of a whole number below 10^15 (counts, sizes, status codes): what the general
// format gives for it, without the general formatter's cost. Null for any other number.
char* FormatWholeNumber(double number, char* text) {
    if (!(number > -1e15 && number < 1e15) || number != static_cast<double>(static_cast<std::int64_t>(number)) ||
        (number == 0 && std::signbit(number))) {
        return nullptr;
    }
    return std::to_chars(text, text + 32, static_cast<std::int64_t>(number)).ptr;
}

// A number that times 10, 100, 1000 or 10000 gives a whole number n (as a double product,
// rounded once), and lies between 0.001 and 10^11 in magnitude: its 15-digit rounding is then
// exactly n / 10^d, because the product's rounding error is far below half a 15th digit. So
// the general format writes n with a decimal point, trailing zeros dropped. Null otherwise.
char* FormatShortDecimal(double number, char* text) {
    const double magnitude = std::fabs(number);
    if (!(magnitude >= 1e-3 && magnitude < 1e11)) return nullptr;
    std::int64_t scale = 10;
    for (int decimals = 1; decimals <= 4; ++decimals, scale *= 10) {
        const double scaled = number * static_cast<double>(scale);
        if (scaled != std::trunc(scaled)) continue;
        const auto whole = static_cast<std::int64_t>(scaled);
        char* end = text;
        if (whole < 0) *end++ = '-';
        const std::uint64_t digits = static_cast<std::uint64_t>(whole < 0 ? -whole : whole);
        end = std::to_chars(end, end + 24, digits / static_cast<std::uint64_t>(scale)).ptr;
        std::uint64_t fraction = digits % static_cast<std::uint64_t>(scale);
        if (fraction == 0) return end;  // a number a hair from a whole one rounds to it
        int places = decimals;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        *end++ = '.';
        for (int place = places - 1; place >= 0; --place) {
            end[place] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        return end + places;
    }
    return nullptr;
}

char* FormatNumber(double number, char* text, std::size_t size) {
    if (char* end = FormatWholeNumber(number, text)) return end;
    if (char* end = FormatShortDecimal(number, text)) return end;
    char* end = DoubleToChars(text, text + size, number, 15).ptr;
    for (char* at = text; at != end; ++at) {
        if (*at >= 'a' && *at <= 'z') *at = static_cast<char>(*at - 'a' + 'A');
    }
    return end;
}

}  // namespace

// General format with up to 15 significant digits and no trailing zeros: 3, 0.5, 1234.5, 1E+20.
// The text buffer holds textBufferLength bytes and one more, as the reference says: the text is
// padded with NULs to its end, so a caller whose buffer is one byte short finds out.
STATUS LNPUBLIC ConvertFLOATToText(const void* /*intlFormat*/,
                                   const notesapi::NFMT* /*numberFormat*/, notesapi::NUMBER* number,
                                   char* retText, WORD textBufferLength, WORD* retTextLength) try {
    SIM_FAULT_POINT("NumberToText");
    char text[64];
    const auto size = static_cast<std::size_t>(FormatNumber(*number, text, sizeof text) - text);
    if (retTextLength != nullptr) *retTextLength = 0;
    if (retText == nullptr || size > textBufferLength) return kStatusBufferTooSmall;
    std::memcpy(retText, text, size);
    std::memset(retText + size, 0, textBufferLength + 1u - size);
    if (retTextLength != nullptr) *retTextLength = static_cast<WORD>(size);
    return 0;
} catch (...) {
    return CaughtException("ConvertFLOATToText");
}
