// Internal to the LMBCS codec: what each single-byte group's second byte decodes to, taken
// from ICU's "LMBCS-1" converter. Index 0 is byte 0x00 (Low) or 0x80 (High); U+FFFD marks
// bytes that decode to nothing.
#pragma once

#include <array>

namespace notessim::lmbcs::tables {

using Half = std::array<char16_t, 128>;

// Bytes 0x80-0xFF with no group byte, and after group 0x01.
extern const Half kCp850;

extern const Half kGroup01Low;
extern const Half kGroup02Low;   // cp851 Greek and Lotus symbols
extern const Half kGroup02High;
extern const Half kGroup03High;  // cp1255 Hebrew
extern const Half kGroup04High;  // cp1256 Arabic
extern const Half kGroup05High;  // cp1251 Cyrillic
extern const Half kGroup06Low;   // cp852 and further Latin letters
extern const Half kGroup06High;
extern const Half kGroup08High;  // cp1254 Turkish
extern const Half kGroup0BHigh;  // cp874 Thai

}  // namespace notessim::lmbcs::tables
