// Start-up, shutdown, the ID switch, environment settings, message texts, text conversion,
// numbers and times, over the Notes library's functions.
#include <algorithm>
#include <cstring>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/NotesStatuses.h"

namespace notes {

using binding::Api;
namespace api = notesapi;

static_assert(sizeof(TimeDate) == sizeof(api::TIMEDATE));

NotesStatus InitializeNotes(int argc, char** argv) {
    if (!binding::NotesLibraryLoaded()) return kStatusNotLoaded;
    return Api().NotesInitExtended(argc, argv);
}

void TerminateNotes() {
    if (binding::NotesLibraryLoaded()) Api().NotesTerm();
}

NotesStatus SwitchToIdFile(const char* idFile, const char* password, char* userName,
                           std::uint16_t userNameSize, std::uint32_t options, void* reserved) {
    return Api().SECKFMSwitchToIDFile(const_cast<char*>(idFile), const_cast<char*>(password),
                                      userName, userNameSize, options, reserved);
}

// The program's size already leaves room for the terminator, as the library expects.
bool GetEnvironmentText(const char* name, char* buffer, std::uint16_t bufferSize) {
    return Api().OSGetEnvironmentString(name, buffer, bufferSize) != 0;
}

std::uint16_t GetStatusText(std::uint32_t /*module*/, NotesStatus status, char* buffer,
                            std::uint16_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    // The library writes up to the given length and a terminator after it.
    const std::uint16_t length =
        Api().OSLoadString(nullptr, status & api::ERR_MASK, buffer, bufferSize - 1u);
    buffer[std::min<std::uint16_t>(length, bufferSize - 1u)] = '\0';
    return length;
}

namespace {

constexpr std::uint32_t kLargestChunk = 0xFFFE;

// How much of a UTF-16 input fits one call: an even count that does not end between the two
// halves of a surrogate pair.
std::uint32_t Utf16ChunkLength(const void* input, std::uint32_t length) {
    std::uint32_t chunk = std::min(length, kLargestChunk) & ~1u;
    if (chunk < length && chunk >= 2) {
        char16_t last;
        std::memcpy(&last, static_cast<const unsigned char*>(input) + chunk - 2, sizeof last);
        if (last >= 0xD800 && last <= 0xDBFF) chunk -= 2;
    }
    return chunk;
}

}  // namespace

// The library takes 16-bit lengths. Every text the program converts is far shorter, except a
// UTF-16 argument that may be very long but goes into a small buffer: since every character
// gives at least one byte, the first 64 KB of it fill that buffer as the whole text would.
std::uint32_t TranslateText(std::uint16_t mode, const void* input, std::uint32_t inputLength,
                            void* output, std::uint32_t outputSize) {
    const std::uint32_t outputLength = std::min<std::uint32_t>(outputSize, 0xFFFF);
    if (inputLength > 0xFFFF) {
        if (mode != kTranslateUnicodeToLmbcs || outputLength > kLargestChunk / 4) return 0;
        inputLength = Utf16ChunkLength(input, inputLength);
    }
    return Api().OSTranslate(mode, static_cast<const char*>(input),
                             static_cast<std::uint16_t>(inputLength), static_cast<char*>(output),
                             static_cast<std::uint16_t>(outputLength));
}

NotesStatus NumberToText(const void* numberFormat, const void* international,
                         const double* number, char* buffer, std::uint16_t bufferSize,
                         std::uint16_t* length) {
    double value = *number;
    return Api().ConvertFLOATToText(international,
                                    static_cast<const api::NFMT*>(numberFormat), &value, buffer,
                                    bufferSize, length);
}

// A time's two words are read and written directly: the library's functions for them strip or
// lose the zone bits that the program prints.
std::uint32_t TimeHighWord(const TimeDate* time) { return time->innards[1]; }
std::uint32_t TimeLowWord(const TimeDate* time) { return time->innards[0]; }

void MakeTimeValue(std::uint32_t high, std::uint32_t low, TimeDate* time) {
    time->innards[0] = low;
    time->innards[1] = high;
}

void SetTimeLimit(int which, TimeDate* time) {
    api::TIMEDATE limit{};
    Api().TimeConstant(which == 0 ? api::TIMEDATE_MINIMUM : api::TIMEDATE_MAXIMUM, &limit);
    std::memcpy(time, &limit, sizeof limit);
}

}  // namespace notes
