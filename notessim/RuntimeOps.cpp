// Start-up, shutdown, the ID switch, environment variables and status texts.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/Files.h"
#include "notessim/Handles.h"
#include "notessim/IniFile.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"

namespace notessim {
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
    report["calls"] = CallCounts();
    report["peakDatabaseBytes"] = State().peakHeldBytes;
    report["peakDatabaseFileBytes"] = State().peakFileBytes;
    std::ofstream(PathFromUtf8(file), std::ios::binary) << report.dump(1) << '\n';
}

void WriteReportAtExit() {
    if (State().initialized) WriteReport();
}

}  // namespace
}  // namespace notessim

namespace notes {

using namespace notessim;

LibraryLoad LoadNotesLibrary() { return {true, "", ""}; }  // linked in: no file

NotesStatus InitializeNotes(int argc, char** argv) {
    std::filesystem::path ini = "notes.ini";
    for (int i = 1; i < argc && argv != nullptr; ++i) {
        if (argv[i] != nullptr && argv[i][0] == '=') {
            ini = PathFromAnsi(argv[i] + 1);
            break;
        }
    }
    const NotesStatus status = LoadIniFile(ini);
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

void TerminateNotes() {
    if (!State().initialized) {
        RecordMisuse("TerminateNotes: the runtime is not initialized");
        return;
    }
    WriteReport();
    State().initialized = false;
}

NotesStatus SwitchToIdFile(const char* idFile, const char* password, char* userName,
                           std::uint16_t userNameSize, std::uint32_t /*options*/,
                           void* /*reserved*/) {
    SIM_FAULT_POINT("SwitchToIdFile");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    const std::filesystem::path path = State().dataDirectory / PathFromUtf8(LibraryTextToUtf8(idFile));
    const auto content = ReadWholeFile(path);
    if (!content) return kStatusFileNotFound;
    const nlohmann::json id = nlohmann::json::parse(*content, nullptr, false);
    if (id.is_discarded() || !id.is_object() || !id.contains("user") || !id["user"].is_string() ||
        !id.contains("password") || !id["password"].is_string()) {
        SetStatusDetail(kStatusBadIdFile, "The ID file is damaged: " + PathToUtf8(path));
        return kStatusBadIdFile;
    }
    if (id["password"].get<std::string>() != LibraryTextToUtf8(password)) {
        return kStatusWrongPassword;
    }
    State().user = id["user"].get<std::string>();
    if (userName != nullptr && userNameSize > 0) {
        CopyLibraryText(Utf8ToLibraryText(State().user), userName, userNameSize - 1u);
    }
    return 0;
}

bool GetEnvironmentText(const char* name, char* buffer, std::uint16_t bufferSize) {
    if (!State().initialized || name == nullptr) return false;
    const auto value = EnvironmentValue(LibraryTextToUtf8(name));
    if (!value) return false;
    if (buffer != nullptr) CopyLibraryText(Utf8ToLibraryText(*value), buffer, bufferSize);
    return true;
}

std::uint16_t GetStatusText(std::uint32_t /*module*/, NotesStatus status, char* buffer,
                            std::uint16_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    return static_cast<std::uint16_t>(CopyLibraryText(
        Utf8ToLibraryText(StatusText(status & kStatusMask)), buffer, bufferSize - 1u));
}

}  // namespace notes

namespace notes {

// The runtime is linked in: there are no C functions whose failures to report.
void ReportFailedCalls(FailedCallReporter /*reporter*/) {}

}  // namespace notes
