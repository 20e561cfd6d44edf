// ConvertName: hierarchical names into their abbreviated form.
#include <cstring>
#include <string>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/Names.h"
#include "notessim/Statuses.h"

namespace notes {

// "CN=Mail01/OU=Srv/O=Acme" becomes "Mail01/Srv/Acme"; names without "=" pass unchanged.
// `bufferSize` counts the terminator; a name that does not fit is a status, never cut.
NotesStatus ConvertName(std::uint32_t /*flags*/, const char* /*templateName*/, const char* name,
                        char* buffer, std::uint16_t bufferSize, std::uint16_t* length) {
    SIM_FAULT_POINT("ConvertName");
    const std::string converted = notessim::AbbreviateName(name == nullptr ? "" : name);
    if (buffer == nullptr || converted.size() >= bufferSize) return notessim::kStatusNameTooLong;
    std::memcpy(buffer, converted.c_str(), converted.size() + 1);
    if (length != nullptr) *length = static_cast<std::uint16_t>(converted.size());
    return 0;
}

}  // namespace notes
