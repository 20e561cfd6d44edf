// Requests from outside to stop the run (SIGTERM, SIGINT), taken up at the modes' safe points
// rather than ending the process in the middle of a row or a file.
#pragma once

namespace platform {

// Called once at start-up. Ignores SIGXFSZ, so that a file-size limit is a failed write like a
// full disk; notes SIGTERM and SIGINT for StopRequested (a second one ends the process at once).
void PrepareProcessSignals();

// True once a stop was requested.
bool StopRequested();

// Ends the process as the request would have ended it at once (by the same signal); returns
// only when no stop was requested.
void EndAsStopRequested();

}  // namespace platform
