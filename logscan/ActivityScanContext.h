// What the activity scan hands to HandleActivityRecord with every record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace logscan {

// 16 characters of event time text and the terminator.
inline constexpr std::size_t kEventTimeTextSize = 17;

struct ActivityScanContext {
    std::FILE* output = nullptr;     // logscan.txt; one formatted print per row
    std::int32_t recordLimit = 0;    // 0 or less: no limit
    std::int32_t recordsSeen = 0;
    char stopTime[kEventTimeTextSize] = {};  // empty until the limit is reached
    bool stoppedScan = false;                // the handler returned kStatusStopped
};

}  // namespace logscan
