// The -logscan mode: the activity stream of log.nsf from a start time onward into logscan.txt.
#pragma once

namespace logscan {

void ExportActivityLog();

}  // namespace logscan
