// NumberToText: the library's default number format.
#include <charconv>
#include <cstring>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/Statuses.h"

namespace notes {

// General format with up to 15 significant digits and no trailing zeros: 3, 0.5, 1234.5, 1E+20.
NotesStatus NumberToText(const void* /*numberFormat*/, const void* /*international*/,
                         const double* number, char* buffer, std::uint16_t bufferSize,
                         std::uint16_t* length) {
    SIM_FAULT_POINT("NumberToText");
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, *number, std::chars_format::general, 15);
    const std::size_t size = static_cast<std::size_t>(result.ptr - text);
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] >= 'a' && text[i] <= 'z') text[i] = static_cast<char>(text[i] - 'a' + 'A');
    }
    if (length != nullptr) *length = 0;
    if (buffer == nullptr || size > bufferSize) return notessim::kStatusBufferTooSmall;
    std::memcpy(buffer, text, size);
    if (size < bufferSize) buffer[size] = '\0';
    if (length != nullptr) *length = static_cast<std::uint16_t>(size);
    return 0;
}

}  // namespace notes
