// What the failure of each status-returning operation must give in each mode: the run-log lines
// and the output files left behind.
#pragma once

#include <string>
#include <vector>

#include "tests/sweep/FaultSweep.h"

namespace sweep {

ModeRules ServerCatalogRules();                                       // -catalog
ModeRules FullCatalogRules();                                         // -brenvik
ModeRules ActivityLogRules(const std::vector<std::string>& options);  // -logscan
ModeRules DirectoryRules();                                           // -nab
ModeRules ServerListRules();                                          // -servers

}  // namespace sweep
