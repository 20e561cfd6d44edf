// The whole life of one process: settings, help and version, output directory, one mode.
#pragma once

namespace driver {

// `argv` holds `argc` UTF-16 arguments, the program path first. Returns the exit code:
// 1 when the command line or the output directory is unusable, else 0.
int RunMain(int argc, const char16_t* const* argv);

}  // namespace driver
