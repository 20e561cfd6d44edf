// Time values: the low word is hundredths of a second since midnight UTC, the high word the
// Julian day number; they order as the 64-bit number high:low.
#include "notes/NotesPlatform.h"

namespace notes {

std::uint32_t TimeHighWord(const TimeDate* time) { return time->innards[1]; }

std::uint32_t TimeLowWord(const TimeDate* time) { return time->innards[0]; }

void MakeTimeValue(std::uint32_t high, std::uint32_t low, TimeDate* time) {
    time->innards[0] = low;
    time->innards[1] = high;
}

void SetTimeLimit(int which, TimeDate* time) {
    if (which == 0) {
        MakeTimeValue(0, 0, time);
    } else {
        MakeTimeValue(0x00FFFFFF, 0xFFFFFFFF, time);
    }
}

}  // namespace notes
