// The system's own text for a Windows error code.
#pragma once

#ifdef _WIN32
#include <string>

namespace platform {

// UTF-8, without the trailing line end; the code itself when the system has no text for it.
std::string SystemErrorText(unsigned long code);

}  // namespace platform
#endif
