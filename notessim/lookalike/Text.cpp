// Text, numbers and time constants.
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

WORD LNPUBLIC OSTranslate(WORD mode, const char* in, WORD inLength, char* out, WORD outLength) {
    // The runtime writes at most outLength bytes, so the count fits a WORD.
    return static_cast<WORD>(notes::TranslateText(mode, in, inLength, out, outLength));
}

// The number format comes before the international settings in the runtime's order.
STATUS LNPUBLIC ConvertFLOATToText(const void* intlFormat, const NFMT* numberFormat,
                                   NUMBER* number, char* retText, WORD textBufferLength,
                                   WORD* retTextLength) {
    return notes::NumberToText(numberFormat, intlFormat, number, retText, textBufferLength,
                               retTextLength);
}

void LNPUBLIC TimeConstant(WORD type, TIMEDATE* time) {
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
}
