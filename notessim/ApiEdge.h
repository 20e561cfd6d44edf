// What every exported C function of the runtime shares: narrowing a value to the runtime's width
// with a status instead of a cut, misuse the real library would not survive recorded and
// refused, no C++ exception let out, and the release functions' statuses.
#pragma once

#include <cstdint>
#include <string>

#include "notessim/CTypes.h"
#include "notessim/Handles.h"

namespace notessim {

inline BOOL ToBool(bool value) { return value ? 1 : 0; }

// True when `value` fits a WORD; otherwise false, with the status to return set to a text that
// names the function, the argument and the value.
bool FitsWord(std::uint64_t value, const char* function, const char* argument, STATUS& status);

// Records a misuse named after `function` (the runtime's report lists it) and gives `status`.
STATUS RefuseMisuse(const char* function, const std::string& what, STATUS status);

// True with the notes.ini setting SimExtendedDelivery=1: the library then also delivers what the
// reference says a real library may deliver and the runtime otherwise never does.
bool ExtendedDelivery();

// No C++ exception leaves the library: one caught at the edge of `function` is recorded and
// becomes the library's status for running out of memory (ERR_MEMORY).
STATUS CaughtException(const char* function) noexcept;

// Releases a live handle of `kind` as `operation` does; a handle that is not open is a recorded
// misuse of `function` and ERR_HDL_DEALLOC.
STATUS Release(const char* function, HandleKind kind, std::uint32_t handle, const char* operation);

}  // namespace notessim
