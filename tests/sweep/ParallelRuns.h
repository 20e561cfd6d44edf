// Runs the exporter many times at once, each run with its own arguments and its own file for
// what the process writes to standard error (sanitizer reports land there).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sweep {

struct ProcessRun {
    std::vector<std::string> arguments;  // without the program path
    std::filesystem::path errorFile;
    int exitCode = -1;  // filled in; 128 + signal number when a signal ended the process
};

// Runs every entry, at most `parallel` at a time, and fills in the exit codes.
void RunAll(std::vector<ProcessRun>& runs, unsigned parallel);

}  // namespace sweep
