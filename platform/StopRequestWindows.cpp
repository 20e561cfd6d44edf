#include "platform/StopRequest.h"

#ifdef _WIN32
namespace platform {

// The program has no window and no console, so no close request reaches it: it ends when it is
// terminated, as before.
void PrepareProcessSignals() {}

bool StopRequested() { return false; }

void EndAsStopRequested() {}

}  // namespace platform
#endif
