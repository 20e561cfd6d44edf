// Start-up, shutdown, the ID switch, environment settings, message texts, text conversion,
// numbers and times, over the Notes library's functions.
#include <algorithm>
#include <cstring>
#include <vector>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/NotesStatuses.h"
#include "notes/WidthBridge.h"

namespace notes {

using binding::Api;
namespace api = notesapi;

static_assert(sizeof(TimeDate) == sizeof(api::TIMEDATE));

NotesStatus InitializeNotes(int argc, char** argv) {
    if (!binding::NotesLibraryLoaded()) return kStatusNotLoaded;
    return binding::Checked("NotesInitExtended", Api().NotesInitExtended(argc, argv));
}

void TerminateNotes() {
    if (binding::NotesLibraryLoaded()) Api().NotesTerm();
}

NotesStatus SwitchToIdFile(const char* idFile, const char* password, char* userName,
                           std::uint16_t userNameSize, std::uint32_t options, void* reserved) {
    return binding::Checked(
        "SECKFMSwitchToIDFile",
        Api().SECKFMSwitchToIDFile(const_cast<char*>(idFile), const_cast<char*>(password), userName,
                                   userNameSize, options, reserved));
}

// The program's size already leaves room for the terminator, as the library expects; the
// terminator is put there whatever the library wrote.
bool GetEnvironmentText(const char* name, char* buffer, std::uint16_t bufferSize) {
    const bool found = Api().OSGetEnvironmentString(name, buffer, bufferSize) != 0;
    buffer[bufferSize] = '\0';
    return found;
}

// A length past what the buffer holds is no text the program can show: none, as when the
// library has no text for the status.
std::uint16_t GetStatusText(std::uint32_t /*module*/, NotesStatus status, char* buffer,
                            std::uint16_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    // The library writes up to the given length and a terminator after it.
    std::uint16_t length =
        Api().OSLoadString(api::HMODULE{}, status & api::ERR_MASK, buffer, bufferSize - 1u);
    if (length > bufferSize - 1u) length = 0;
    buffer[length] = '\0';
    return length;
}

namespace {

// The library reads an input length of 0xFFFF as "up to the NUL", so every call gets less; and
// takes 16-bit output lengths.
constexpr std::uint32_t kLargestLength = 0xFFFE;
constexpr std::uint32_t kLargestOutput = 0xFFFF;
// A piece of input whose output surely fits one call: no mode gives more than three bytes of
// output for one byte of input.
constexpr std::uint32_t kLargestPiece = (kLargestOutput / 3) & ~1u;

// How much of a UTF-16 input goes into one piece: an even count that does not end between the
// two halves of a surrogate pair.
std::uint32_t Utf16PieceLength(const unsigned char* input, std::uint32_t length) {
    std::uint32_t piece = std::min(length, kLargestPiece) & ~1u;
    if (piece < length && piece >= 2) {
        char16_t last;
        std::memcpy(&last, input + piece - 2, sizeof last);
        if (last >= 0xD800 && last <= 0xDBFF) piece -= 2;
    }
    return piece;
}

// How much of an LMBCS input goes into one piece without cutting a character. A character of
// more than one byte is at most three and starts with a group byte (below 0x20), so a cut after
// two bytes of 0x20 or more never falls inside one.
std::uint32_t LmbcsPieceLength(const unsigned char* input, std::uint32_t length) {
    const std::uint32_t largest = std::min(length, kLargestPiece);
    if (largest == length) return length;
    for (std::uint32_t cut = largest; cut >= 2 && cut > largest / 2; --cut) {
        if (input[cut - 1] >= 0x20 && input[cut - 2] >= 0x20) return cut;
    }
    return largest;
}

// A count past the room given counts bytes the library cannot have written: nothing is taken.
std::uint32_t TranslateOnce(std::uint16_t mode, const unsigned char* input, std::uint32_t length,
                            char* output, std::uint32_t outputSize) {
    const std::uint32_t room = std::min(outputSize, kLargestOutput);
    const std::uint32_t written = Api().OSTranslate(mode, reinterpret_cast<const char*>(input),
                                                    static_cast<std::uint16_t>(length), output,
                                                    static_cast<std::uint16_t>(room));
    return written <= room ? written : 0;
}

}  // namespace

// A longer input than one call takes, or output beyond one call's, goes piece by piece, each
// piece ending on a character boundary. Each piece is converted whole aside first: only the one
// that does not fit is converted into what room is left (the library cuts it at a character),
// and nothing after it, so the text written never has a gap.
std::uint32_t TranslateText(std::uint16_t mode, const void* input, std::uint32_t inputLength,
                            void* output, std::uint32_t outputSize) {
    const auto* in = static_cast<const unsigned char*>(input);
    auto* out = static_cast<char*>(output);
    if (inputLength <= kLargestLength && outputSize <= kLargestOutput) {
        return TranslateOnce(mode, in, inputLength, out, outputSize);
    }
    std::vector<char> whole(kLargestOutput);
    std::uint32_t written = 0;
    while (inputLength > 0 && written < outputSize) {
        const std::uint32_t piece = mode == kTranslateUnicodeToLmbcs
                                        ? Utf16PieceLength(in, inputLength)
                                        : LmbcsPieceLength(in, inputLength);
        if (piece == 0) break;
        const std::uint32_t length = TranslateOnce(mode, in, piece, whole.data(), kLargestOutput);
        if (length > outputSize - written) {
            return written + TranslateOnce(mode, in, piece, out + written, outputSize - written);
        }
        std::memcpy(out + written, whole.data(), length);
        written += length;
        in += piece;
        inputLength -= piece;
    }
    return written;
}

NotesStatus NumberToText(const void* numberFormat, const void* international,
                         const double* number, char* buffer, std::uint16_t bufferSize,
                         std::uint16_t* length) {
    if (buffer == nullptr || bufferSize == 0) return kStatusValueOutOfRange;
    double value = *number;
    binding::Received<api::WORD> written;
    // The library's length leaves room for a terminator after it.
    const NotesStatus status = binding::Checked(
        "ConvertFLOATToText",
        Api().ConvertFLOATToText(international, static_cast<const api::NFMT*>(numberFormat),
                                 &value, buffer, bufferSize - 1u, written.Target()));
    // A text longer than the buffer is none the program can read.
    const bool fits = written.Fits() && written.Value() <= bufferSize - 1u;
    if (length != nullptr) *length = status == 0 && fits ? written.Value() : 0;
    if (status != 0) return status;
    return fits ? NotesStatus{0} : kStatusValueOutOfRange;
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
