// The activity scan through the binding, over a library that may go on after the program's
// callback failed and then report success.
#include <gtest/gtest.h>

#include <string>

#include "notes/NotesPlatform.h"
#include "notes/NotesStatuses.h"
#include "tests/notes/AlteredLibrary.h"
#include "tests/support/AcmeRun.h"

namespace {

unsigned calls = 0;

notes::NotesStatus FailingHandler(const char*, std::uint32_t, std::uint32_t, const void*,
                                  const notes::TimeDate*, const void*, void*) {
    ++calls;
    return notes::kStatusIoError;
}

class ActivityScan : public notestest::AlteredLibrary {};

// The first record's failure is the scan's result, and the program is called no more, whether
// the library stops there (the look-alike) or goes on and reports success.
TEST_F(ActivityScan, AFailedCallbackIsTheScansResultThoughTheLibraryReportsSuccess) {
    const testsupport::AcmeRun acme;
    for (const char* changes : {"", "IgnoredStop"}) {
        ::setenv("DXL_TEST_LIBRARY_CHANGES", changes, 1);
        std::string program = "test";
        std::string ini = "=" + acme.ini().string();
        char* argv[] = {program.data(), ini.data(), nullptr};
        ASSERT_EQ(notes::InitializeNotes(2, argv), 0);
        notes::TimeDate range[2] = {};
        notes::SetTimeLimit(1, &range[1]);
        notes::ActivityStreamHandle stream = 0;
        ASSERT_EQ(notes::OpenActivityStream(&stream, nullptr, "log.nsf", nullptr, 0, range), 0);
        calls = 0;
        EXPECT_EQ(notes::ScanActivityStream(stream, FailingHandler, nullptr, 0, 0),
                  notes::kStatusIoError)
            << changes;
        EXPECT_EQ(calls, 1u) << changes;
        notes::CloseActivityStream(stream);
        notes::TerminateNotes();
        testsupport::ExpectEveryHandleReleased(acme.report(), changes);
    }
}

}  // namespace
