// Items of an opened note, and text lists.
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

BOOL LNPUBLIC NSFItemGetTime(NOTEHANDLE note, const char* itemName, TIMEDATE* retTime) try {
    notes::TimeDate time{};
    const bool found = notes::GetTimeItem(note, itemName, &time);
    if (found && retTime != nullptr) *retTime = ToApiTime(time);
    return ToBool(found);
} catch (...) {
    CaughtException("NSFItemGetTime");
    return 0;
}

STATUS LNPUBLIC NSFItemSetText(NOTEHANDLE note, const char* itemName, const char* text,
                               WORD textLength) try {
    return notes::SetTextItem(note, itemName, text, textLength);
} catch (...) {
    return CaughtException("NSFItemSetText");
}

WORD LNPUBLIC ListGetNumEntries(void* list, BOOL prefixed) try {
    return notes::CountListEntries(list, prefixed != 0);
} catch (...) {
    CaughtException("ListGetNumEntries");
    return 0;
}

STATUS LNPUBLIC ListGetText(void* list, BOOL prefixed, WORD entry, char** retText,
                            WORD* retTextLength) try {
    const char* text = nullptr;
    const STATUS status = notes::GetListEntryText(list, prefixed != 0, entry, &text, retTextLength);
    if (status == NOERROR && retText != nullptr) *retText = const_cast<char*>(text);
    return status;
} catch (...) {
    return CaughtException("ListGetText");
}
