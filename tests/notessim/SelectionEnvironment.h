// An in-memory Notes environment with one database, "test.nsf", for tests of the runtime's
// selection, hook and DXL operations.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notes/NotesPlatform.h"
#include "notessim/SimControl.h"

namespace selectiontest {

class SelectionEnvironment : public ::testing::Test {
protected:
    void SetUp() override { notessim::ResetRuntime(); }
    void TearDown() override { notessim::ResetRuntime(); }

    // Starts the runtime on a virtual notes.ini whose data directory holds `databaseJson`.
    void Start(const std::string& databaseJson, const std::string& iniLines = "") {
        notessim::SetVirtualFile("/sim/notes.ini", "Directory=.\n" + iniLines);
        notessim::SetVirtualFile("/sim/test.nsf", databaseJson);
        char program[] = "test";
        char ini[] = "=/sim/notes.ini";
        char* argv[] = {program, ini, nullptr};
        ASSERT_EQ(notes::InitializeNotes(2, argv), 0);
    }

    notes::DatabaseHandle OpenTestDatabase() {
        notes::DatabaseHandle database = 0;
        EXPECT_EQ(notes::OpenDatabase("test.nsf", &database), 0);
        return database;
    }

    static void ExpectNothingOpen() {
        EXPECT_TRUE(notessim::OpenHandles().empty()) << notessim::OpenHandles().size() << " open";
        EXPECT_EQ(notessim::HandleMisuses(), std::vector<std::string>{});
    }
};

}  // namespace selectiontest
