// Text lists as the runtime hands them out: {WORD count, WORD length per entry, the texts}.
#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Statuses.h"

using namespace notessim;

namespace {

WORD ReadWord(const unsigned char* at) { return static_cast<WORD>(at[0] | (at[1] << 8)); }

const unsigned char* ListStart(const void* list, BOOL prefixed) {
    return static_cast<const unsigned char*>(list) + (prefixed != 0 ? 2 : 0);
}

}  // namespace

WORD LNPUBLIC ListGetNumEntries(void* list, BOOL prefixed) try {
    return list == nullptr ? 0 : ReadWord(ListStart(list, prefixed));
} catch (...) {
    CaughtException("ListGetNumEntries");
    return 0;
}

STATUS LNPUBLIC ListGetText(void* list, BOOL prefixed, WORD entry, char** retText,
                            WORD* retTextLength) try {
    SIM_FAULT_POINT("GetListEntryText");
    if (list == nullptr) return kStatusNotInList;
    const unsigned char* start = ListStart(list, prefixed);
    const WORD count = ReadWord(start);
    if (entry >= count) return kStatusNotInList;
    std::size_t offset = 2 + std::size_t{count} * 2;
    for (WORD i = 0; i < entry; ++i) offset += ReadWord(start + 2 + i * 2);
    if (retText != nullptr) {
        *retText = reinterpret_cast<char*>(const_cast<unsigned char*>(start + offset));
    }
    if (retTextLength != nullptr) *retTextLength = ReadWord(start + 2 + entry * 2);
    return 0;
} catch (...) {
    return CaughtException("ListGetText");
}
