// Time constants: the low word is hundredths of a second since midnight UTC, the high word the
// Julian day number; times order as the 64-bit number high:low.
#include "notessim/ApiEdge.h"

using namespace notessim;

void LNPUBLIC TimeConstant(WORD type, TIMEDATE* time) try {
    if (time == nullptr) return;
    if (type != notesapi::TIMEDATE_MINIMUM && type != notesapi::TIMEDATE_MAXIMUM) {
        // The runtime has no wildcard time: a zero value, and the report says why.
        RefuseMisuse("TimeConstant", "type " + std::to_string(type) + " is not supported", 0);
        *time = TIMEDATE{};
        return;
    }
    *time =
        type == notesapi::TIMEDATE_MINIMUM ? TIMEDATE{{0, 0}} : TIMEDATE{{0xFFFFFFFF, 0x00FFFFFF}};
} catch (...) {
    CaughtException("TimeConstant");
}
