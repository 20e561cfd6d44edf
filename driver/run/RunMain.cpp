#include "driver/run/RunMain.h"

#include "driver/run/CommandLine.h"
#include "driver/run/ModeTable.h"
#include "driver/NotesSession.h"
#include "driver/RunLog.h"
#include "driver/RunSettings.h"
#include "notes/NotesStatuses.h"
#include "platform/Files.h"
#include "platform/FolderLock.h"
#include "platform/Process.h"
#include "platform/Text.h"
#include "platform/StopRequest.h"

namespace driver {
namespace {

void ShowVersion() {
    if (const auto version = platform::ReadProductVersion()) {
        platform::ShowMessageBox(u"DxlExporter", *version);
    }
}

// One run per output folder: a second run at the same time would write the same temporary
// files. The lock is held until the process ends; a run that cannot take it writes nothing but
// its failure line, as when its output file cannot be created.
void RunInDriverSession(const ModeEntry& mode, platform::FolderLock& lock) {
    if (!EnterNotesSession()) return;
    const notes::NotesStatus status = lock.TryLock(Settings().outputDir)
                                          ? mode.runInDriverSession()
                                          : notes::kStatusCannotCreateFile;
    // A mode stopped on request fails; the stop's own line says why.
    if (status != 0 && !platform::StopRequested()) LogNotesError(mode.failureText, status);
    EndNotesSession();
}

// A value that stands for bytes without a UTF-16 form would name another server, database or
// file than the one given: the mode fails as if what it names did not exist. (Such a password
// fails the ID switch, and only when there is one.)
bool ValuesAreExact(const RunSettings& settings) {
    for (const std::u16string* value : {&settings.server, &settings.databasePath, &settings.idFile,
                                        &settings.startTime, &settings.rowLimit}) {
        if (!platform::IsExactText(*value)) return false;
    }
    return true;
}

void ReportInexactValue(const ModeEntry& mode) {
    if (!EnterNotesSession()) return;
    LogNotesError(mode.failureText, notes::kStatusFileNotFound);
    EndNotesSession();
}

void RunWithOwnSession(const ModeEntry& mode, platform::FolderLock& lock) {
    if (!lock.TryLock(Settings().outputDir)) {
        LogMessage(kLogError, mode.outputFailureLine);
        return;
    }
    mode.runWithOwnSession();
}

}  // namespace

int RunMain(int argc, const char16_t* const* argv) {
    Arguments() = {argc, argv, {}};
    RunSettings& settings = Settings();
    if (const auto password = platform::ReadEnvironmentVariable(u"KORVA_NOTES_PASSWORD")) {
        settings.password = *password;
    }

    const ParsedCommandLine parsed = ParseCommandLine(argc, argv, settings);
    Arguments().passwordValues = parsed.passwordValues;
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

    // A folder the run log cannot be written to is as unusable as a missing one: every failure
    // would go unreported.
    if (settings.outputDir.empty() || !platform::IsExactText(settings.outputDir) ||
        platform::QueryPathKind(settings.outputDir) != platform::PathKind::directory ||
        !platform::CanWriteFileIn(settings.outputDir, OutputFilePath(kRunLogFileName))) {
        return 1;
    }

    platform::FolderLock lock;
    for (const ModeEntry& mode : Modes()) {
        if (!(parsed.mode.*mode.mark)) continue;
        if (!platform::CanLockFolder(settings.outputDir)) {
            LogMessage(kLogError, u"Unable to lock output directory (it cannot be read)");
            return 1;
        }
        if (!ValuesAreExact(settings)) {
            ReportInexactValue(mode);
        } else if (mode.runWithOwnSession != nullptr) {
            RunWithOwnSession(mode, lock);
        } else {
            RunInDriverSession(mode, lock);
        }
        break;
    }
    if (platform::StopRequested()) {
        LogMessage(kLogError, u"Run stopped on request");
        platform::EndAsStopRequested();
    }
    // Without its run log a run could not report what went wrong: as for an unusable folder.
    return RunLogFailed() ? 1 : 0;
}

}  // namespace driver
