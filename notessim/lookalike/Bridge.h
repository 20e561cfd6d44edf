// What every C function of the look-alike library shares: narrowing a value to the runtime's
// width with a status instead of a cut, misuse the real library would not survive recorded and
// refused, and the release functions' statuses.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "notes/NotesCApi.h"
#include "notes/NotesPlatform.h"
#include "notessim/Handles.h"

namespace lookalike {

using namespace notesapi;

static_assert(sizeof(TIMEDATE) == sizeof(notes::TimeDate));
static_assert(sizeof(COLLECTIONPOSITION) == sizeof(notes::CollectionPosition));

// The bytes of `from` as a `To`: std::bit_cast, which GCC 10's library (Debian 11) lacks.
template <typename To, typename From>
To SameBytes(const From& from) {
    static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
                  std::is_trivially_copyable_v<From>);
    To to{};
    std::memcpy(&to, &from, sizeof to);
    return to;
}

inline notes::TimeDate ToRuntimeTime(const TIMEDATE& time) {
    return SameBytes<notes::TimeDate>(time);
}

inline TIMEDATE ToApiTime(const notes::TimeDate& time) { return SameBytes<TIMEDATE>(time); }

inline BOOL ToBool(bool value) { return value ? 1 : 0; }

// True when `value` fits a WORD; otherwise false, with the status to return set to a text that
// names the function, the argument and the value.
bool FitsWord(std::uint64_t value, const char* function, const char* argument, STATUS& status);

// Records a misuse named after `function` (the runtime's report lists it) and gives `status`.
STATUS RefuseMisuse(const char* function, const std::string& what, STATUS status);

// True with the notes.ini setting SimExtendedDelivery=1: the library then also delivers what the
// reference says a real library may deliver and the runtime's own operations never do.
bool ExtendedDelivery();

// No C++ exception leaves the library: one caught at the edge of `function` is recorded and
// becomes the library's status for running out of memory (ERR_MEMORY).
STATUS CaughtException(const char* function) noexcept;

// Releases a live runtime handle through its team operation; a handle that is not open is a
// recorded misuse of `function` and a status.
STATUS Release(const char* function, notessim::HandleKind kind, std::uint32_t handle,
               void (*release)(std::uint32_t));

}  // namespace lookalike
