// Anonymous temporary files.
#pragma once

#include <cstdio>

namespace platform {

// A new binary file open for reading and writing in the system's temporary directory (on POSIX
// $TMPDIR, else /tmp), without a name: it disappears when closed or when the process ends.
// Null when it cannot be created.
std::FILE* OpenAnonymousTempFile();

}  // namespace platform
