// Name lookups (the library's 32-bit family throughout) and name conversion.
#include <cstring>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {

using binding::Api;

NotesStatus LookupNames(const char* server, std::uint16_t flags, std::uint16_t nameSpaceCount,
                        const char* nameSpaces, std::uint16_t nameCount, const char* names,
                        std::uint16_t itemCount, const char* items, MemoryHandle* lookup) {
    binding::Received<notesapi::DHANDLE> found;
    return binding::CheckedHandle(
        "NAMELookup2",
        Api().NAMELookup2(server, flags, nameSpaceCount, nameSpaces, nameCount, names, itemCount,
                          items, found.Target()),
        found, lookup);
}

// The program counts matches in 16 bits. A name with more matches than that is not handed out
// cut short: it reads as no record.
const void* FirstLookupName(const void* lookup, const void* previousName,
                            std::uint16_t* matchCount) {
    notesapi::DWORD count = 0;
    void* name = Api().NAMELocateNextName2(const_cast<void*>(lookup),
                                           const_cast<void*>(previousName), &count);
    if (!binding::FitsIn<std::uint16_t>(count)) {
        name = nullptr;
        count = 0;
    }
    if (matchCount != nullptr) *matchCount = static_cast<std::uint16_t>(count);
    return name;
}

const void* NextNameMatch(const void* lookup, const void* name, const void* previousMatch) {
    return Api().NAMELocateNextMatch2(const_cast<void*>(lookup), const_cast<void*>(name),
                                      const_cast<void*>(previousMatch));
}

// Both texts end inside their buffer, whatever the library wrote.
NotesStatus GetMatchItemText(const void* match, std::uint16_t item, std::uint16_t value,
                             char* buffer, std::uint16_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return kStatusValueOutOfRange;
    const NotesStatus status = binding::Checked(
        "NAMEGetTextItem2",
        Api().NAMEGetTextItem2(const_cast<void*>(match), item, value, buffer, bufferSize));
    buffer[bufferSize - 1u] = '\0';
    return status;
}

NotesStatus ConvertName(std::uint32_t flags, const char* templateName, const char* name,
                        char* buffer, std::uint16_t bufferSize, std::uint16_t* length) {
    if (buffer == nullptr || bufferSize == 0) return kStatusValueOutOfRange;
    binding::Received<notesapi::WORD> converted;
    const NotesStatus status = binding::Checked(
        "DNAbbreviate",
        Api().DNAbbreviate(flags, templateName, name, buffer, bufferSize, converted.Target()));
    buffer[bufferSize - 1u] = '\0';
    if (length != nullptr) {
        *length = static_cast<std::uint16_t>(std::strlen(buffer));
    }
    return status;
}

}  // namespace notes
