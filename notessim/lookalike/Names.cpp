// Name lookups in a server's directory (the 32-bit "2" family) and abbreviated names.
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

STATUS LNPUBLIC NAMELookup2(const char* server, DWORD flags, WORD nameSpaceCount,
                            const char* nameSpaces, WORD nameCount, const char* names,
                            WORD itemCount, const char* items, DHANDLE* retBuffer) try {
    STATUS refused = NOERROR;
    if (!FitsWord(flags, "NAMELookup2", "flags", refused)) return refused;
    return notes::LookupNames(server, static_cast<WORD>(flags), nameSpaceCount, nameSpaces,
                              nameCount, names, itemCount, items, retBuffer);
} catch (...) {
    return CaughtException("NAMELookup2");
}

void* LNPUBLIC NAMELocateNextName2(void* lookup, void* previousName, DWORD* retMatchCount) try {
    WORD matchCount = 0;
    const void* name = notes::FirstLookupName(lookup, previousName, &matchCount);
    if (retMatchCount != nullptr) *retMatchCount = matchCount;
    return const_cast<void*>(name);
} catch (...) {
    CaughtException("NAMELocateNextName2");
    return nullptr;
}

// The reference warns that a real library does not return NULL after the last match: callers
// count. With extended delivery the last match comes again.
void* LNPUBLIC NAMELocateNextMatch2(void* lookup, void* name, void* previousMatch) try {
    const void* match = notes::NextNameMatch(lookup, name, previousMatch);
    if (match == nullptr && previousMatch != nullptr && ExtendedDelivery()) return previousMatch;
    return const_cast<void*>(match);
} catch (...) {
    CaughtException("NAMELocateNextMatch2");
    return nullptr;
}

// bufferLength is the buffer's size: the text is cut to leave room for its NUL.
STATUS LNPUBLIC NAMEGetTextItem2(void* match, WORD item, WORD member, char* buffer,
                                 WORD bufferLength) try {
    return notes::GetMatchItemText(match, item, member, buffer, bufferLength);
} catch (...) {
    return CaughtException("NAMEGetTextItem2");
}

STATUS LNPUBLIC DNAbbreviate(DWORD flags, const char* templateName, const char* name,
                             char* retName, WORD retSize, WORD* retLength) try {
    return notes::ConvertName(flags, templateName, name, retName, retSize, retLength);
} catch (...) {
    return CaughtException("DNAbbreviate");
}
