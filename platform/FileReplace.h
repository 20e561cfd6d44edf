// Putting a finished file in place of another in one step.
#pragma once

#include <string>

namespace platform {

// Renames `from` to `to`, replacing a file `to` at once: a reader sees either the old or the new
// file, never none or a part. Both must be in the same folder. False, and nothing changed,
// when it fails.
bool ReplaceFile(const std::u16string& from, const std::u16string& to);

}  // namespace platform
