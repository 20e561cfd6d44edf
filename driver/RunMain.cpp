#include "driver/RunMain.h"

#include "driver/CommandLine.h"
#include "driver/ModeTable.h"
#include "driver/NotesSession.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "platform/Files.h"
#include "platform/Process.h"

namespace driver {
namespace {

void ShowVersion() {
    if (const auto version = platform::ReadProductVersion()) {
        platform::ShowMessageBox(u"DxlExporter", *version);
    }
}

void RunInSession(const ModeEntry& mode) {
    if (!EnterNotesSession()) return;
    if (const notes::NotesStatus status = mode.export_(); status != 0) {
        LogNotesError(mode.failureText, status);
    }
    EndNotesSession();
}

}  // namespace

int RunMain(int argc, const char16_t* const* argv) {
    Arguments() = {argc, argv};
    RunSettings& settings = Settings();
    if (const auto password = platform::ReadEnvironmentVariable(u"KORVA_NOTES_PASSWORD")) {
        settings.password = *password;
    }

    const ParsedCommandLine parsed = ParseCommandLine(argc, argv, settings);
    switch (parsed.outcome) {
        case ParseOutcome::help:
        case ParseOutcome::invalid:
            return 1;
        case ParseOutcome::version:
            ShowVersion();
            return 0;
        case ParseOutcome::run:
            break;
    }

    if (settings.outputDir.empty() ||
        platform::QueryPathKind(settings.outputDir) != platform::PathKind::directory) {
        return 1;
    }

    for (const ModeEntry& mode : Modes()) {
        if (!(parsed.mode.*mode.mark)) continue;
        if (mode.runsItself != nullptr) {
            mode.runsItself();
        } else {
            RunInSession(mode);
        }
        break;
    }
    return 0;
}

}  // namespace driver
