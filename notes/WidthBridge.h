// Values that cross between the program's widths and the library's.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>

#include "notes/NotesStatuses.h"

namespace notes::binding {

// An out parameter of the library's type T, received in zeroed storage of eight bytes: a library
// that writes a wider value than documented (64-bit handles, a BOOL for a WORD) shows it in the
// bytes past T instead of writing beyond the program's variable.
template <typename T>
class Received {
public:
    static_assert(sizeof(T) <= 8);
    T* Target() { return reinterpret_cast<T*>(storage_); }

    // False when any byte past T was written.
    bool Fits() const {
        for (std::size_t i = sizeof(T); i < sizeof storage_; ++i) {
            if (storage_[i] != 0) return false;
        }
        return true;
    }

    T Value() const {
        T value;
        std::memcpy(&value, storage_, sizeof value);
        return value;
    }

private:
    alignas(8) unsigned char storage_[8] = {};
};

// Copies a received value into the program's variable (if it gave one); a value that does not fit
// is refused with `refusal`.
template <typename T, typename Target>
NotesStatus Deliver(const Received<T>& received, Target* target,
                    NotesStatus refusal = kStatusValueOutOfRange) {
    if (!received.Fits()) return refusal;
    if (target != nullptr) *target = static_cast<Target>(received.Value());
    return 0;
}

// A handle the library gave with a success: one that does not fit, or NULLHANDLE, which names
// nothing, is refused with kStatusInvalidHandle.
template <typename T, typename Target>
NotesStatus DeliverHandle(const Received<T>& received, Target* target) {
    if (!received.Fits() || received.Value() == 0) return kStatusInvalidHandle;
    if (target != nullptr) *target = static_cast<Target>(received.Value());
    return 0;
}

// A program value handed to a narrower library parameter.
template <typename Narrow, typename Wide>
bool FitsIn(Wide value) {
    return value <= static_cast<Wide>(std::numeric_limits<Narrow>::max());
}

}  // namespace notes::binding
