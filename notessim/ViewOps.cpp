// Views: finding a view, opening its collection and reading its entries in batches.
// HCOLLECTION is a WORD, so each open collection gets a number of its own that maps to the
// runtime's 32-bit collection handle.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Handles.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Servers.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"
#include "notessim/ViewBatch.h"

namespace notessim {
namespace {

struct CollectionObject : HandleObject {
    // Both databases stay alive with the collection, whatever happens to their handles.
    std::shared_ptr<const SimDatabase> viewDatabase;
    std::shared_ptr<const SimDatabase> dataDatabase;
    const SimView* view = nullptr;
};

STATUS ViewNotFound(std::string_view what, const std::filesystem::path& file) {
    return Diagnose(kStatusViewNotFound, "Cannot find the specified view: " +
                                             LibraryTextToUtf8(what) + " in " + PathToUtf8(file));
}

const SimView* ViewById(const SimDatabase& database, NOTEID id) {
    const auto found = std::find_if(database.views.begin(), database.views.end(),
                                    [id](const SimView& view) { return view.id == id; });
    return found == database.views.end() ? nullptr : &*found;
}

struct CollectionNumbers {
    std::map<notesapi::HCOLLECTION, DHANDLE> open;
    notesapi::HCOLLECTION last = 0;
};

CollectionNumbers& Collections() {
    static CollectionNumbers numbers;
    return numbers;
}

// The next free number after the last one given, skipping 0 (NULLHANDLE); 0 when all are taken.
notesapi::HCOLLECTION FreeNumber(const CollectionNumbers& numbers) {
    notesapi::HCOLLECTION candidate = numbers.last;
    for (unsigned tries = 0; tries < 0xFFFF; ++tries) {
        candidate = static_cast<notesapi::HCOLLECTION>(candidate == 0xFFFF ? 1 : candidate + 1);
        if (!numbers.open.contains(candidate)) return candidate;
    }
    return 0;
}

const DHANDLE* FindCollection(notesapi::HCOLLECTION collection) {
    const auto found = Collections().open.find(collection);
    return found == Collections().open.end() ? nullptr : &found->second;
}

STATUS NotOpen(const char* function, notesapi::HCOLLECTION collection) {
    return RefuseMisuse(function, "collection " + std::to_string(collection) + " is not open",
                        kStatusInvalidHandle);
}

// The position's first tumbler is the 1-based index of the current entry (0: before the
// first); after a read it names the last entry returned. Every navigator moves in view order.
STATUS ReadEntries(const CollectionObject& opened, notesapi::COLLECTIONPOSITION& position,
                   DWORD skipCount, DWORD returnCount, DWORD returnMask, DHANDLE* buffer,
                   WORD* bufferLength, DWORD* skipped, DWORD* returned, WORD* signalFlags) {
    const std::size_t size = opened.view->entries.size();
    const std::uint64_t current =
        std::max<std::uint64_t>(1, std::uint64_t{position.Tumbler[0]} + skipCount);

    ViewBatch batch;
    if (current <= size) {
        batch = BuildViewBatch(*opened.view, *opened.dataDatabase, current - 1,
                               std::min(returnCount, State().viewBatch), returnMask);
    }
    *buffer = 0;
    if (batch.count > 0) {
        *buffer = RegisterBuffer(batch.bytes);
    } else if (ExtendedDelivery()) {
        // A real library may hand out a buffer even when it returns no entry; it must be freed.
        *buffer = RegisterBuffer(std::string_view("\0\0\0\0", 4));
    }
    const std::uint64_t last = current + batch.count - 1;
    if (current <= size) {
        position.Level = 0;
        position.Tumbler[0] = static_cast<std::uint32_t>(batch.count > 0 ? last : current);
    }
    if (bufferLength != nullptr) {
        *bufferLength = static_cast<WORD>(std::min<std::size_t>(batch.bytes.size(), 0xFFFF));
    }
    if (skipped != nullptr) *skipped = skipCount;
    if (returned != nullptr) *returned = batch.count;
    if (signalFlags != nullptr) {
        *signalFlags = batch.count > 0 && last < size ? notesapi::SIGNAL_MORE_TO_DO : 0;
    }
    return 0;
}

}  // namespace
}  // namespace notessim

using namespace notessim;

STATUS LNPUBLIC NIFFindDesignNoteExt(notesapi::DBHANDLE database, const char* name,
                                     WORD /*noteClass*/, const char* /*flagsPattern*/,
                                     NOTEID* retNoteId, DWORD /*options*/) try {
    SIM_FAULT_POINT("FindView");
    const OpenDatabaseObject* opened = FindOpenDatabase(database, "FindView");
    if (opened == nullptr) return kStatusInvalidHandle;
    const std::string_view wanted = name == nullptr ? "" : name;
    const SimView* view = opened->database->FindView(wanted);
    if (view == nullptr) return ViewNotFound(wanted, opened->file);
    *retNoteId = view->id;
    return 0;
} catch (...) {
    return CaughtException("NIFFindDesignNoteExt");
}

STATUS LNPUBLIC NIFOpenCollection(notesapi::DBHANDLE viewDatabase, notesapi::DBHANDLE dataDatabase,
                                  NOTEID viewId, WORD /*openFlags*/, DHANDLE /*unreadList*/,
                                  notesapi::HCOLLECTION* retCollection,
                                  notesapi::NOTEHANDLE* retViewNote,
                                  notesapi::UNID* /*retViewUnid*/, DHANDLE* retCollapsedList,
                                  DHANDLE* retSelectedList) try {
    if (retViewNote != nullptr) {
        return RefuseMisuse("NIFOpenCollection", "rethViewNote is reserved and must be NULL",
                            kStatusUnsupportedArgument);
    }
    CollectionNumbers& numbers = Collections();
    const notesapi::HCOLLECTION number = FreeNumber(numbers);
    if (number == 0) {
        STATUS refused = 0;
        FitsWord(numbers.open.size() + 1, "NIFOpenCollection", "open collection count", refused);
        return refused;
    }
    SIM_FAULT_POINT("OpenViewCollection");
    const OpenDatabaseObject* design = FindOpenDatabase(viewDatabase, "OpenViewCollection");
    const OpenDatabaseObject* data = FindOpenDatabase(dataDatabase, "OpenViewCollection");
    if (design == nullptr || data == nullptr) return kStatusInvalidHandle;
    auto opened = std::make_unique<CollectionObject>();
    opened->viewDatabase = design->database;
    opened->dataDatabase = data->database;
    opened->view = ViewById(*design->database, viewId);
    if (opened->view == nullptr) {
        return Diagnose(kStatusViewNoteDeleted, "No view has the note ID " +
                                                    std::to_string(viewId) + " in " +
                                                    PathToUtf8(design->file));
    }
    if (retCollapsedList != nullptr) *retCollapsedList = 0;
    if (retSelectedList != nullptr) *retSelectedList = 0;
    numbers.open.emplace(number, RegisterHandle(HandleKind::collection, std::move(opened)));
    numbers.last = number;
    if (retCollection != nullptr) *retCollection = number;
    return 0;
} catch (...) {
    return CaughtException("NIFOpenCollection");
}

STATUS LNPUBLIC NIFReadEntries(notesapi::HCOLLECTION collection,
                               notesapi::COLLECTIONPOSITION* position, WORD /*skipNavigator*/,
                               DWORD skipCount, WORD /*returnNavigator*/, DWORD returnCount,
                               DWORD returnMask, DHANDLE* retBuffer, WORD* retBufferLength,
                               DWORD* retSkipped, DWORD* retReturned, WORD* retSignalFlags) try {
    const DHANDLE* number = FindCollection(collection);
    if (number == nullptr) return NotOpen("NIFReadEntries", collection);
    if (position == nullptr) {
        return RefuseMisuse("NIFReadEntries", "no collection position", kStatusUnsupportedArgument);
    }
    SIM_FAULT_POINT("ReadViewEntries");
    const auto* opened =
        FindHandleAs<CollectionObject>(HandleKind::collection, *number, "ReadViewEntries");
    if (opened == nullptr) return kStatusInvalidHandle;
    return ReadEntries(*opened, *position, skipCount, returnCount, returnMask, retBuffer,
                       retBufferLength, retSkipped, retReturned, retSignalFlags);
} catch (...) {
    return CaughtException("NIFReadEntries");
}

STATUS LNPUBLIC NIFCloseCollection(notesapi::HCOLLECTION collection) try {
    const DHANDLE* opened = FindCollection(collection);
    if (opened == nullptr) return NotOpen("NIFCloseCollection", collection);
    const STATUS status =
        Release("NIFCloseCollection", HandleKind::collection, *opened, "CloseViewCollection");
    Collections().open.erase(collection);
    return status;
} catch (...) {
    return CaughtException("NIFCloseCollection");
}
