// Starting the simulated runtime on an environment held in memory (virtual files), for tests
// that call the Notes operations in-process.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "notes/NotesPlatform.h"
#include "notessim/SimControl.h"

namespace testsupport {

inline const std::string kVirtualDataDirectory = "/virtual-notes";

// Resets the runtime, stores `files` (paths relative to the data directory) and a notes.ini of
// `iniLines`, and initializes the runtime on it.
inline void StartInMemoryRuntime(const std::string& iniLines,
                                 const std::map<std::string, std::string>& files) {
    notessim::ResetRuntime();
    for (const auto& [name, content] : files) {
        notessim::SetVirtualFile(kVirtualDataDirectory + "/" + name, content);
    }
    const std::string ini = kVirtualDataDirectory + "/notes.ini";
    notessim::SetVirtualFile(ini, "[Notes]\n" + iniLines);
    std::string program = "test";
    std::string argument = "=" + ini;
    std::vector<char*> argv = {program.data(), argument.data(), nullptr};
    ASSERT_EQ(notes::InitializeNotes(2, argv.data()), 0);
}

// Terminates the runtime and fails the test when a handle is left open or was misused.
inline void StopInMemoryRuntime() {
    for (const notessim::OpenHandle& open : notessim::OpenHandles()) {
        ADD_FAILURE() << "left open: " << notessim::HandleKindName(open.kind) << " " << open.handle;
    }
    for (const std::string& misuse : notessim::HandleMisuses()) ADD_FAILURE() << misuse;
    notes::TerminateNotes();
    notessim::ResetRuntime();
}

}  // namespace testsupport
