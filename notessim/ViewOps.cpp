// Views: finding a view, opening its collection and reading its entries in batches.
#include <algorithm>
#include <memory>

#include "notes/NotesPlatform.h"
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

notes::NotesStatus ViewNotFound(std::string_view what, const std::filesystem::path& file) {
    SetStatusDetail(kStatusViewNotFound, "Cannot find the specified view: " +
                                             LibraryTextToUtf8(what) + " in " +
                                             PathToUtf8(file));
    return kStatusViewNotFound;
}

const SimView* ViewById(const SimDatabase& database, notes::NoteId id) {
    const auto found = std::find_if(database.views.begin(), database.views.end(),
                                    [id](const SimView& view) { return view.id == id; });
    return found == database.views.end() ? nullptr : &*found;
}

}  // namespace
}  // namespace notessim

namespace notes {

using namespace notessim;

NotesStatus FindView(DatabaseHandle database, const char* name, std::uint16_t /*noteClass*/,
                     const char* /*flagPattern*/, NoteId* viewId, std::uint32_t /*options*/) {
    SIM_FAULT_POINT("FindView");
    const OpenDatabaseObject* opened = FindOpenDatabase(database, "FindView");
    if (opened == nullptr) return kStatusInvalidHandle;
    const std::string_view wanted = name == nullptr ? "" : name;
    const SimView* view = opened->database->FindView(wanted);
    if (view == nullptr) return ViewNotFound(wanted, opened->file);
    *viewId = view->id;
    return 0;
}

NotesStatus OpenViewCollection(DatabaseHandle viewDatabase, DatabaseHandle dataDatabase,
                               NoteId viewId, std::uint16_t /*openFlags*/,
                               MemoryHandle /*unreadList*/, CollectionHandle* collection,
                               NoteHandle* viewNote, void* /*viewUnid*/,
                               IdTableHandle* collapsedList, IdTableHandle* selectedList) {
    SIM_FAULT_POINT("OpenViewCollection");
    const OpenDatabaseObject* design = FindOpenDatabase(viewDatabase, "OpenViewCollection");
    const OpenDatabaseObject* data = FindOpenDatabase(dataDatabase, "OpenViewCollection");
    if (design == nullptr || data == nullptr) return kStatusInvalidHandle;
    auto opened = std::make_unique<CollectionObject>();
    opened->viewDatabase = design->database;
    opened->dataDatabase = data->database;
    opened->view = ViewById(*design->database, viewId);
    if (opened->view == nullptr) {
        return ViewNotFound("view note " + std::to_string(viewId), design->file);
    }
    if (viewNote != nullptr) *viewNote = 0;
    if (collapsedList != nullptr) *collapsedList = 0;
    if (selectedList != nullptr) *selectedList = 0;
    *collection = RegisterHandle(HandleKind::collection, std::move(opened));
    return 0;
}

// The position's first tumbler is the 1-based index of the current entry (0: before the
// first); after a read it names the last entry returned. Every navigator moves in view order.
NotesStatus ReadViewEntries(CollectionHandle collection, CollectionPosition* position,
                            std::uint16_t /*skipNavigator*/, std::uint32_t skipCount,
                            std::uint16_t /*returnNavigator*/, std::uint32_t returnCount,
                            std::uint32_t returnMask, MemoryHandle* buffer,
                            std::uint16_t* bufferLength, std::uint32_t* skipped,
                            std::uint32_t* returned, std::uint16_t* signalFlags) {
    SIM_FAULT_POINT("ReadViewEntries");
    const auto* opened =
        FindHandleAs<CollectionObject>(HandleKind::collection, collection, "ReadViewEntries");
    if (opened == nullptr) return kStatusInvalidHandle;
    const std::size_t size = opened->view->entries.size();
    const std::uint64_t current =
        std::max<std::uint64_t>(1, std::uint64_t{position->tumbler[0]} + skipCount);

    ViewBatch batch;
    if (current <= size) {
        batch = BuildViewBatch(*opened->view, *opened->dataDatabase, current - 1,
                               std::min(returnCount, State().viewBatch), returnMask);
    }
    *buffer = 0;
    if (batch.count > 0) {
        auto memory = std::make_unique<MemoryBuffer>();
        memory->bytes.assign(batch.bytes.begin(), batch.bytes.end());
        *buffer = RegisterHandle(HandleKind::memory, std::move(memory));
    }
    const std::uint64_t last = current + batch.count - 1;
    if (current <= size) {
        position->level = 0;
        position->tumbler[0] = static_cast<std::uint32_t>(batch.count > 0 ? last : current);
    }
    if (bufferLength != nullptr) {
        *bufferLength = static_cast<std::uint16_t>(std::min<std::size_t>(batch.bytes.size(), 0xFFFF));
    }
    if (skipped != nullptr) *skipped = skipCount;
    if (returned != nullptr) *returned = batch.count;
    if (signalFlags != nullptr) {
        *signalFlags = batch.count > 0 && last < size ? kSignalMoreToDo : 0;
    }
    return 0;
}

void CloseViewCollection(CollectionHandle collection) {
    ReleaseHandle(HandleKind::collection, collection, "CloseViewCollection");
}

}  // namespace notes
