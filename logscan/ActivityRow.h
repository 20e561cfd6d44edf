// The comma-separated row of one activity record in logscan.txt.
#pragma once

#include <cstdio>

#include "logscan/ActivityItems.h"
#include "notes/NotesPlatform.h"

namespace logscan {

// Prints the row of a "Domino.NOTES.Database", "Domino.HTTP" or "Domino.AGENT" record whose map
// holds the two items its type requires; other records get no row. 0 when the row was printed
// or is not due, kStatusIoError (270) when the print failed.
notes::NotesStatus WriteActivityRow(std::FILE* output, const char* eventType,
                                    const char* eventTime, const ActivityItemMap& items);

}  // namespace logscan
