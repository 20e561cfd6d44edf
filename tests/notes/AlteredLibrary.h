// The test process bound to the look-alike through the altered library
// (library/AlteredNotesLibrary.cpp), which passes its answers on unchanged unless
// DXL_TEST_LIBRARY_CHANGES, set by a test, asks for a change.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "notes/NotesPlatform.h"

namespace notestest {

class AlteredLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::setenv("DXL_NOTES_LIBRARY", DXL_ALTERED_NOTES_LIBRARY, 1);
        ASSERT_TRUE(notes::LoadNotesLibrary().loaded);
    }
    void TearDown() override { ::unsetenv("DXL_TEST_LIBRARY_CHANGES"); }
};

}  // namespace notestest
