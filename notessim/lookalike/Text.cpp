// Text, numbers and time constants.
#include <cstring>

#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

namespace {

// An input length of 0xFFFF (MAXWORD) reads up to the NUL: a 16-bit one for UTF-16 input.
std::uint32_t InputUpToNul(WORD mode, const char* in) {
    std::uint32_t length = 0;
    if (mode == 23) {
        while (length < 0xFFFE && (in[length] != 0 || in[length + 1] != 0)) length += 2;
    } else {
        while (length < 0xFFFF && in[length] != 0) ++length;
    }
    return length;
}

}  // namespace

WORD LNPUBLIC OSTranslate(WORD mode, const char* in, WORD inLength, char* out, WORD outLength) try {
    const std::uint32_t length = inLength == 0xFFFF && in != nullptr ? InputUpToNul(mode, in)
                                                                      : inLength;
    // The runtime writes at most outLength bytes, so the count fits a WORD.
    return static_cast<WORD>(notes::TranslateText(mode, in, length, out, outLength));
} catch (...) {
    CaughtException("OSTranslate");
    return 0;
}

// The number format comes before the international settings in the runtime's order. The text
// buffer holds textBufferLength bytes and one more, as the reference says: the text is padded
// with NULs to its end, so a caller whose buffer is one byte short finds out.
STATUS LNPUBLIC ConvertFLOATToText(const void* intlFormat, const NFMT* numberFormat,
                                   NUMBER* number, char* retText, WORD textBufferLength,
                                   WORD* retTextLength) try {
    WORD length = 0;
    const STATUS status = notes::NumberToText(numberFormat, intlFormat, number, retText,
                                              textBufferLength, &length);
    if (status == NOERROR && retText != nullptr) {
        std::memset(retText + length, 0, textBufferLength + 1u - length);
    }
    if (retTextLength != nullptr) *retTextLength = length;
    return status;
} catch (...) {
    return CaughtException("ConvertFLOATToText");
}

void LNPUBLIC TimeConstant(WORD type, TIMEDATE* time) try {
    if (time == nullptr) return;
    if (type != TIMEDATE_MINIMUM && type != TIMEDATE_MAXIMUM) {
        // The runtime has no wildcard time: a zero value, and the report says why.
        RefuseMisuse("TimeConstant", "type " + std::to_string(type) + " is not supported", 0);
        *time = TIMEDATE{};
        return;
    }
    notes::TimeDate limit{};
    notes::SetTimeLimit(type == TIMEDATE_MINIMUM ? 0 : 1, &limit);
    *time = ToApiTime(limit);
} catch (...) {
    CaughtException("TimeConstant");
}
