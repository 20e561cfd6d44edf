// Views. HCOLLECTION is a WORD, so each open collection gets a number of its own that maps to
// the runtime's 32-bit collection handle.
#include <cstring>
#include <map>
#include <memory>

#include "notessim/Statuses.h"
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

namespace {

struct CollectionNumbers {
    std::map<HCOLLECTION, notes::CollectionHandle> open;
    HCOLLECTION last = 0;
};

CollectionNumbers& Collections() {
    static CollectionNumbers numbers;
    return numbers;
}

// The next free number after the last one given, skipping 0 (NULLHANDLE); 0 when all are taken.
HCOLLECTION FreeNumber(const CollectionNumbers& numbers) {
    HCOLLECTION candidate = numbers.last;
    for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
        candidate = static_cast<HCOLLECTION>(candidate == 0xFFFF ? 1 : candidate + 1);
        if (!numbers.open.contains(candidate)) return candidate;
    }
    return 0;
}

const notes::CollectionHandle* FindCollection(HCOLLECTION collection) {
    const auto found = Collections().open.find(collection);
    return found == Collections().open.end() ? nullptr : &found->second;
}

STATUS NotOpen(const char* function, HCOLLECTION collection) {
    return RefuseMisuse(function, "collection " + std::to_string(collection) + " is not open",
                        notessim::kStatusInvalidHandle);
}

}  // namespace

STATUS LNPUBLIC NIFFindDesignNoteExt(DBHANDLE database, const char* name, WORD noteClass,
                                     const char* flagsPattern, NOTEID* retNoteId,
                                     DWORD options) try {
    return notes::FindView(database, name, noteClass, flagsPattern, retNoteId, options);
} catch (...) {
    return CaughtException("NIFFindDesignNoteExt");
}

STATUS LNPUBLIC NIFOpenCollection(DBHANDLE viewDatabase, DBHANDLE dataDatabase, NOTEID viewId,
                                  WORD openFlags, DHANDLE unreadList,
                                  HCOLLECTION* retCollection, NOTEHANDLE* retViewNote,
                                  UNID* retViewUnid, DHANDLE* retCollapsedList,
                                  DHANDLE* retSelectedList) try {
    if (retViewNote != nullptr) {
        return RefuseMisuse("NIFOpenCollection", "rethViewNote is reserved and must be NULL",
                            notessim::kStatusUnsupportedArgument);
    }
    CollectionNumbers& numbers = Collections();
    const HCOLLECTION number = FreeNumber(numbers);
    if (number == 0) {
        STATUS refused = NOERROR;
        FitsWord(numbers.open.size() + 1, "NIFOpenCollection", "open collection count", refused);
        return refused;
    }
    notes::CollectionHandle collection = 0;
    const STATUS status = notes::OpenViewCollection(viewDatabase, dataDatabase, viewId,
                                                    openFlags, unreadList, &collection, nullptr,
                                                    retViewUnid, retCollapsedList,
                                                    retSelectedList);
    if (status != NOERROR) return status;
    numbers.open.emplace(number, collection);
    numbers.last = number;
    if (retCollection != nullptr) *retCollection = number;
    return NOERROR;
} catch (...) {
    return CaughtException("NIFOpenCollection");
}

STATUS LNPUBLIC NIFReadEntries(HCOLLECTION collection, COLLECTIONPOSITION* position,
                               WORD skipNavigator, DWORD skipCount, WORD returnNavigator,
                               DWORD returnCount, DWORD returnMask, DHANDLE* retBuffer,
                               WORD* retBufferLength, DWORD* retSkipped, DWORD* retReturned,
                               WORD* retSignalFlags) try {
    const notes::CollectionHandle* opened = FindCollection(collection);
    if (opened == nullptr) return NotOpen("NIFReadEntries", collection);
    if (position == nullptr) {
        return RefuseMisuse("NIFReadEntries", "no collection position",
                            notessim::kStatusUnsupportedArgument);
    }
    notes::CollectionPosition runtimePosition{};
    std::memcpy(&runtimePosition, position, sizeof runtimePosition);
    const STATUS status = notes::ReadViewEntries(
        *opened, &runtimePosition, skipNavigator, skipCount, returnNavigator, returnCount,
        returnMask, retBuffer, retBufferLength, retSkipped, retReturned, retSignalFlags);
    std::memcpy(position, &runtimePosition, sizeof runtimePosition);
    // A real library may hand out a buffer even when it returns no entry; it must be freed.
    if (status == NOERROR && retBuffer != nullptr && *retBuffer == 0 &&
        ExtendedDelivery()) {
        auto empty = std::make_unique<notessim::MemoryBuffer>();
        empty->bytes.assign(4, 0);
        *retBuffer = notessim::RegisterHandle(notessim::HandleKind::memory, std::move(empty));
    }
    return status;
} catch (...) {
    return CaughtException("NIFReadEntries");
}

STATUS LNPUBLIC NIFCloseCollection(HCOLLECTION collection) try {
    const notes::CollectionHandle* opened = FindCollection(collection);
    if (opened == nullptr) return NotOpen("NIFCloseCollection", collection);
    const STATUS status = Release("NIFCloseCollection", notessim::HandleKind::collection, *opened,
                                  notes::CloseViewCollection);
    Collections().open.erase(collection);
    return status;
} catch (...) {
    return CaughtException("NIFCloseCollection");
}
