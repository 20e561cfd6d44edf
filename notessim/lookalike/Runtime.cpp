// Start-up, shutdown, the ID switch, environment variables and status texts.
#include <algorithm>

#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

STATUS LNPUBLIC NotesInitExtended(int argc, char** argv) try {
    return notes::InitializeNotes(argc, argv);
} catch (...) {
    return CaughtException("NotesInitExtended");
}

void LNPUBLIC NotesTerm(void) try {
    notes::TerminateNotes();
} catch (...) {
    CaughtException("NotesTerm");
}

STATUS LNPUBLIC SECKFMSwitchToIDFile(char* idFile, char* password, char* retUserName,
                                     WORD maxUserNameLength, DWORD flags, void* reserved) try {
    return notes::SwitchToIdFile(idFile, password, retUserName, maxUserNameLength, flags,
                                 reserved);
} catch (...) {
    return CaughtException("SECKFMSwitchToIDFile");
}

// Both sides take the longest value the buffer holds, with its NUL after it.
BOOL LNPUBLIC OSGetEnvironmentString(const char* name, char* retValue, WORD bufferLength) try {
    return ToBool(notes::GetEnvironmentText(name, retValue, bufferLength));
} catch (...) {
    CaughtException("OSGetEnvironmentString");
    return 0;
}

// bufferLength is the longest text, with its NUL after it; the runtime's size counts the NUL.
// Its largest size, 0xFFFF, still holds every status text the runtime has.
WORD LNPUBLIC OSLoadString(HMODULE /*module*/, STATUS code, char* retBuffer,
                           WORD bufferLength) try {
    const auto size = static_cast<WORD>(std::min<unsigned>(bufferLength + 1u, 0xFFFF));
    return notes::GetStatusText(0, code, retBuffer, size);
} catch (...) {
    CaughtException("OSLoadString");
    return 0;
}
