// Reading the command line into the run's settings and mode marks.
#pragma once

#include <string_view>
#include <vector>

#include "driver/RunSettings.h"

namespace driver {

struct RunMode {
    bool servers = false;
    bool catalog = false;
    bool logscan = false;
    bool brenvik = false;
    bool nab = false;
};

enum class ParseOutcome { run, version, help, invalid };

struct ParsedCommandLine {
    ParseOutcome outcome = ParseOutcome::run;
    RunMode mode;
    std::u16string_view invalidArgument;  // set with ParseOutcome::invalid
    std::vector<int> passwordValues;       // where the values of "-password" stand in argv
};

// Visits arguments 1 to argc-1 and fills `settings`; "=" arguments are skipped.
ParsedCommandLine ParseCommandLine(int argc, const char16_t* const* argv, RunSettings& settings);

}  // namespace driver
