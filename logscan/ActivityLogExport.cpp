#include "logscan/ActivityLogExport.h"

namespace logscan {
// Placeholder until the activity scan lands.
void ExportActivityLog() {}
}  // namespace logscan
