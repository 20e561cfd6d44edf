// What every C function of the look-alike library shares: narrowing a value to the runtime's
// width with a status instead of a cut, misuse the real library would not survive recorded and
// refused, and the release functions' statuses.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

#include "notes/NotesCApi.h"
#include "notes/NotesPlatform.h"
#include "notessim/Handles.h"

namespace lookalike {

using namespace notesapi;

static_assert(sizeof(TIMEDATE) == sizeof(notes::TimeDate));
static_assert(sizeof(COLLECTIONPOSITION) == sizeof(notes::CollectionPosition));

inline notes::TimeDate ToRuntimeTime(const TIMEDATE& time) {
    return std::bit_cast<notes::TimeDate>(time);
}

inline TIMEDATE ToApiTime(const notes::TimeDate& time) { return std::bit_cast<TIMEDATE>(time); }

inline BOOL ToBool(bool value) { return value ? 1 : 0; }

// True when `value` fits a WORD; otherwise false, with the status to return set to a text that
// names the function, the argument and the value.
bool FitsWord(std::uint64_t value, const char* function, const char* argument, STATUS& status);

// Records a misuse named after `function` (the runtime's report lists it) and gives `status`.
STATUS RefuseMisuse(const char* function, const std::string& what, STATUS status);

// No C++ exception leaves the library: one caught at the edge of `function` is recorded and
// becomes the library's status for running out of memory (ERR_MEMORY).
STATUS CaughtException(const char* function) noexcept;

// Releases a live runtime handle through its team operation; a handle that is not open is a
// recorded misuse of `function` and a status.
STATUS Release(const char* function, notessim::HandleKind kind, std::uint32_t handle,
               void (*release)(std::uint32_t));

}  // namespace lookalike
