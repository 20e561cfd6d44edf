// The handler the activity scan calls once per record: the row-limit stop rule, then the row.
#pragma once

#include <cstdint>

#include "notes/NotesPlatform.h"

namespace logscan {

// `context` is the scan's ActivityScanContext. 0 lets the scan go on; kStatusStopped (413) stops it
// because the row limit was reached and this record has another time than the last one handled
// (and every later call, should the library call again); kStatusIoError (270) when a row could
// not be written. A record without its time is passed over; one without its type or item table
// counts toward the limit and gives no row.
notes::NotesStatus HandleActivityRecord(const char* eventType, std::uint32_t reserved1,
                                        std::uint32_t reserved2, const void* reserved3,
                                        const notes::TimeDate* eventTime, const void* itemTable,
                                        void* context);

}  // namespace logscan
