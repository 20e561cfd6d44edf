// Views: finding one, opening its collection and reading its entries.
#include <cstring>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {

using binding::Api;
namespace api = notesapi;

static_assert(sizeof(CollectionPosition) == sizeof(api::COLLECTIONPOSITION));

NotesStatus FindView(DatabaseHandle database, const char* name, std::uint16_t noteClass,
                     const char* flagPattern, NoteId* viewId, std::uint32_t options) {
    return binding::Checked(
        "NIFFindDesignNoteExt",
        Api().NIFFindDesignNoteExt(database, name, noteClass, flagPattern, viewId, options));
}

NotesStatus OpenViewCollection(DatabaseHandle viewDatabase, DatabaseHandle dataDatabase,
                               NoteId viewId, std::uint16_t openFlags, MemoryHandle unreadList,
                               CollectionHandle* collection, NoteHandle* viewNote,
                               void* viewUnid, IdTableHandle* collapsedList,
                               IdTableHandle* selectedList) {
    if (viewNote != nullptr) *viewNote = 0;
    if (viewUnid != nullptr) std::memset(viewUnid, 0, sizeof(api::UNID));
    if (collapsedList != nullptr) *collapsedList = 0;
    if (selectedList != nullptr) *selectedList = 0;
    binding::Received<api::HCOLLECTION> opened;
    return binding::CheckedHandle(
        "NIFOpenCollection",
        Api().NIFOpenCollection(viewDatabase, dataDatabase, viewId, openFlags, unreadList,
                                opened.Target(), nullptr, nullptr, nullptr, nullptr),
        opened, collection);
}

NotesStatus ReadViewEntries(CollectionHandle collection, CollectionPosition* position,
                            std::uint16_t skipNavigator, std::uint32_t skipCount,
                            std::uint16_t returnNavigator, std::uint32_t returnCount,
                            std::uint32_t returnMask, MemoryHandle* buffer,
                            std::uint16_t* bufferLength, std::uint32_t* skipped,
                            std::uint32_t* returned, std::uint16_t* signalFlags) {
    if (!binding::FitsIn<api::HCOLLECTION>(collection)) return kStatusInvalidHandle;
    binding::Received<api::DHANDLE> entries;
    binding::Received<api::WORD> length;
    binding::Received<api::DWORD> skippedCount;
    binding::Received<api::DWORD> returnedCount;
    binding::Received<api::WORD> signal;
    if (const NotesStatus status = binding::Checked("NIFReadEntries", Api().NIFReadEntries(
            static_cast<api::HCOLLECTION>(collection),
            reinterpret_cast<api::COLLECTIONPOSITION*>(position), skipNavigator, skipCount,
            returnNavigator, returnCount, returnMask, entries.Target(), length.Target(),
            skippedCount.Target(), returnedCount.Target(), signal.Target()));
        status != 0) {
        return status;
    }
    for (const NotesStatus status :
         {binding::Deliver(entries, buffer, kStatusInvalidHandle),
          binding::Deliver(length, bufferLength), binding::Deliver(skippedCount, skipped),
          binding::Deliver(returnedCount, returned), binding::Deliver(signal, signalFlags)}) {
        if (status != 0) return status;
    }
    return 0;
}

void CloseViewCollection(CollectionHandle collection) {
    if (binding::FitsIn<api::HCOLLECTION>(collection)) {
        binding::Checked("NIFCloseCollection",
                         Api().NIFCloseCollection(static_cast<api::HCOLLECTION>(collection)));
    }
}

}  // namespace notes
