// Start-up, shutdown, the ID switch, environment variables and status texts.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Files.h"
#include "notessim/IniFile.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"

using namespace notessim;

namespace {

void WriteReport() {
    const std::string& file = State().reportFile;
    if (file.empty()) return;
    nlohmann::json report;
    report["openHandles"] = nlohmann::json::array();
    for (const OpenHandle& open : OpenHandles()) {
        report["openHandles"].push_back({{"kind", HandleKindName(open.kind)}, {"handle", open.handle}});
    }
    report["misuses"] = HandleMisuses();
    report["diagnostics"] = Diagnostics();
    report["calls"] = CallCounts();
    report["peakDatabaseBytes"] = State().peakHeldBytes;
    report["peakDatabaseFileBytes"] = State().peakFileBytes;
    std::ofstream(PathFromUtf8(file), std::ios::binary) << report.dump(1) << '\n';
}

void WriteReportAtExit() {
    if (State().initialized) WriteReport();
}

STATUS Initialize(int argc, char** argv) {
    std::filesystem::path ini = "notes.ini";
    for (int i = 1; i < argc && argv != nullptr; ++i) {
        if (argv[i] != nullptr && argv[i][0] == '=') {
            ini = PathFromAnsi(argv[i] + 1);
            break;
        }
    }
    const STATUS status = LoadIniFile(ini);
    if (status != 0) return status;
    for (int i = 0; i < argc && argv != nullptr; ++i) {
        State().startupArguments.emplace_back(argv[i] == nullptr ? "" : argv[i]);
    }
    static bool reportAtExit = false;
    if (!reportAtExit) {
        std::atexit(WriteReportAtExit);
        reportAtExit = true;
    }
    SIM_FAULT_POINT("InitializeNotes");
    State().initialized = true;
    return 0;
}

}  // namespace

STATUS LNPUBLIC NotesInitExtended(int argc, char** argv) try {
    return Initialize(argc, argv);
} catch (...) {
    return CaughtException("NotesInitExtended");
}

void LNPUBLIC NotesTerm(void) try {
    if (!State().initialized) {
        RecordMisuse("TerminateNotes: the runtime is not initialized");
        return;
    }
    WriteReport();
    State().initialized = false;
} catch (...) {
    CaughtException("NotesTerm");
}

STATUS LNPUBLIC SECKFMSwitchToIDFile(char* idFile, char* password, char* retUserName,
                                     WORD maxUserNameLength, DWORD /*flags*/,
                                     void* /*reserved*/) try {
    SIM_FAULT_POINT("SwitchToIdFile");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    const std::filesystem::path path =
        State().dataDirectory / PathFromUtf8(LibraryTextToUtf8(idFile));
    const auto content = ReadWholeFile(path);
    if (!content) return kStatusFileNotFound;
    const nlohmann::json id = nlohmann::json::parse(*content, nullptr, false);
    if (id.is_discarded() || !id.is_object() || !id.contains("user") || !id["user"].is_string() ||
        !id.contains("password") || !id["password"].is_string()) {
        return Diagnose(kStatusBadIdFile, "The ID file is damaged: " + PathToUtf8(path));
    }
    if (id["password"].get<std::string>() != LibraryTextToUtf8(password)) {
        return kStatusWrongPassword;
    }
    State().user = id["user"].get<std::string>();
    if (retUserName != nullptr && maxUserNameLength > 0) {
        CopyLibraryText(Utf8ToLibraryText(State().user), retUserName, maxUserNameLength - 1u);
    }
    return 0;
} catch (...) {
    return CaughtException("SECKFMSwitchToIDFile");
}

// The longest value the buffer holds, with its NUL after it.
BOOL LNPUBLIC OSGetEnvironmentString(const char* name, char* retValue, WORD bufferLength) try {
    if (!State().initialized || name == nullptr) return 0;
    const auto value = EnvironmentValue(LibraryTextToUtf8(name));
    if (!value) return 0;
    if (retValue != nullptr) CopyLibraryText(Utf8ToLibraryText(*value), retValue, bufferLength);
    return 1;
} catch (...) {
    CaughtException("OSGetEnvironmentString");
    return 0;
}

// bufferLength is the longest text, with its NUL after it. A status without a stored text gives
// length 0, as the reference says.
WORD LNPUBLIC OSLoadString(notesapi::HMODULE /*module*/, STATUS code, char* retBuffer,
                           WORD bufferLength) try {
    if (retBuffer == nullptr) return 0;
    const std::size_t longest = std::min<std::size_t>(bufferLength, 0xFFFE);
    const std::string_view text = StatusText(code & notesapi::ERR_MASK);
    if (text.empty()) {
        retBuffer[0] = '\0';
        return 0;
    }
    return static_cast<WORD>(CopyLibraryText(Utf8ToLibraryText(text), retBuffer, longest));
} catch (...) {
    CaughtException("OSLoadString");
    return 0;
}
