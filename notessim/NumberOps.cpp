// NumberToText: the library's default number format.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/Statuses.h"

namespace notes {
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

char* FormatNumber(double number, char* text, std::size_t size) {
    if (char* end = FormatWholeNumber(number, text)) return end;
    char* end = std::to_chars(text, text + size, number, std::chars_format::general, 15).ptr;
    for (char* at = text; at != end; ++at) {
        if (*at >= 'a' && *at <= 'z') *at = static_cast<char>(*at - 'a' + 'A');
    }
    return end;
}

}  // namespace

// General format with up to 15 significant digits and no trailing zeros: 3, 0.5, 1234.5, 1E+20.
NotesStatus NumberToText(const void* /*numberFormat*/, const void* /*international*/,
                         const double* number, char* buffer, std::uint16_t bufferSize,
                         std::uint16_t* length) {
    SIM_FAULT_POINT("NumberToText");
    char text[64];
    const auto size = static_cast<std::size_t>(FormatNumber(*number, text, sizeof text) - text);
    if (length != nullptr) *length = 0;
    if (buffer == nullptr || size > bufferSize) return notessim::kStatusBufferTooSmall;
    std::memcpy(buffer, text, size);
    if (size < bufferSize) buffer[size] = '\0';
    if (length != nullptr) *length = static_cast<std::uint16_t>(size);
    return 0;
}

}  // namespace notes
