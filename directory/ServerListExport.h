// The -servers mode: the servers the Notes environment knows of, sorted and unique, into
// servers.txt.
#pragma once

namespace directory {

// Opens servers.txt, runs a Notes session around CollectServerNames and reports failures.
void ExportServerList();

}  // namespace directory
