// ConvertName: hierarchical names into their abbreviated form.
#include <cstring>
#include <string>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Names.h"
#include "notessim/Statuses.h"

using namespace notessim;

// "CN=Mail01/OU=Srv/O=Acme" becomes "Mail01/Srv/Acme"; names without "=" pass unchanged.
// `retSize` counts the terminator; a name that does not fit is a status, never cut.
STATUS LNPUBLIC DNAbbreviate(DWORD /*flags*/, const char* /*templateName*/, const char* name,
                             char* retName, WORD retSize, WORD* retLength) try {
    SIM_FAULT_POINT("ConvertName");
    const std::string converted = AbbreviateName(name == nullptr ? "" : name);
    if (retName == nullptr || converted.size() >= retSize) return kStatusNameTooLong;
    std::memcpy(retName, converted.c_str(), converted.size() + 1);
    if (retLength != nullptr) *retLength = static_cast<WORD>(converted.size());
    return 0;
} catch (...) {
    return CaughtException("DNAbbreviate");
}
