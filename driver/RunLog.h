// The run log: one line per message appended to "log.txt" in the output directory.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "driver/WideFormat.h"
#include "notes/NotesPlatform.h"
#include "platform/SystemFailure.h"

namespace driver {

using LogLevel = std::int32_t;
inline constexpr LogLevel kLogDebug = 0;
inline constexpr LogLevel kLogWarning = 1;
inline constexpr LogLevel kLogError = 2;

inline constexpr char16_t kRunLogFileName[] = u"log.txt";

// Lines are composed in at most this many UTF-16 units, the terminator included.
inline constexpr std::size_t kLogLineUnits = 1024;
// Their UTF-8 form holds at most this many bytes, the terminator included.
inline constexpr std::size_t kLogLineBytes = 1024;

void LogMessage(LogLevel level, std::u16string_view text);
void LogError(std::u16string_view format, std::initializer_list<FormatArgument> args = {});
void LogDebug(std::u16string_view format, std::initializer_list<FormatArgument> args = {});
// After a debug line that reports a failed platform call: a second debug line with the call, the
// file `names` and the system's text ("open(temp.tmp): Permission denied"); none when nothing
// failed.
void LogSystemFailure(const platform::SystemFailure& failure, std::u16string_view names);
// An error line with the library's message text for `status` in place of the format's one %s.
void LogNotesError(std::u16string_view format, notes::NotesStatus status);

// True once a line that was to be written did not reach the run log whole (nothing of it stays).
bool RunLogFailed();

}  // namespace driver
