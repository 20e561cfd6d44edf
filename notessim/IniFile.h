// Reading notes.ini into the runtime's state.
#pragma once

#include <filesystem>

#include "notessim/CTypes.h"

namespace notessim {

// Reads `iniFile` (relative to the working directory) and applies its settings; 421 when it
// cannot be read, a status naming the file when a setting is malformed.
STATUS LoadIniFile(const std::filesystem::path& iniFile);

}  // namespace notessim
