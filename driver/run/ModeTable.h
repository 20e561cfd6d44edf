// The modes a run can perform, in order of precedence.
#pragma once

#include <span>
#include <string_view>

#include "driver/run/CommandLine.h"
#include "notes/NotesPlatform.h"

namespace driver {

struct ModeEntry {
    bool RunMode::*mark;
    // Exactly one of the two is set. A mode that opens its output file, then runs its own Notes
    // session and reports its own failures:
    void (*runWithOwnSession)();
    // A mode that the driver wraps in a Notes session; its failure text takes the library's text:
    notes::NotesStatus (*runInDriverSession)();
    // The line of a failed Notes operation of the mode, with the library's text for its status.
    std::u16string_view failureText;
    // The line of a mode that runs itself when it cannot create its output file.
    std::u16string_view outputFailureLine;
};

std::span<const ModeEntry> Modes();

}  // namespace driver
