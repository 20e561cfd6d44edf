// Memory handles and ID tables. The program releases compiled formulas, buffers and ID tables
// alike with FreeMemoryHandle; the library frees ID tables only with IDDestroyTable, so the
// binding remembers which handles are ID tables.
#include <set>

#include "notes/NotesLibrary.h"
#include "notes/NotesPlatform.h"
#include "notes/WidthBridge.h"

namespace notes {
namespace {

std::set<IdTableHandle>& LiveIdTables() {
    static std::set<IdTableHandle> tables;
    return tables;
}

}  // namespace

using binding::Api;

void* LockMemoryHandle(MemoryHandle handle) { return Api().OSLockObject(handle); }

NotesStatus GetMemorySize(MemoryHandle handle, std::uint32_t* size) {
    binding::Received<notesapi::DWORD> got;
    return binding::CheckedValue("OSMemGetSize", Api().OSMemGetSize(handle, got.Target()), got,
                                 size);
}

void UnlockMemoryHandle(MemoryHandle handle) { Api().OSUnlockObject(handle); }

void FreeMemoryHandle(MemoryHandle handle) {
    if (LiveIdTables().erase(handle) != 0) {
        binding::Checked("IDDestroyTable", Api().IDDestroyTable(handle));
    } else {
        binding::Checked("OSMemFree", Api().OSMemFree(handle));
    }
}

NotesStatus CreateIdTable(std::uint16_t alignment, IdTableHandle* table) {
    binding::Received<notesapi::DHANDLE> created;
    if (const NotesStatus status =
            binding::Checked("IDCreateTable", Api().IDCreateTable(alignment, created.Target()));
        status != 0) {
        return status;
    }
    if (const NotesStatus status = binding::DeliverHandle(created, table); status != 0) {
        return status;
    }
    LiveIdTables().insert(created.Value());
    return 0;
}

NotesStatus InsertIdIntoTable(IdTableHandle table, NoteId id, bool* inserted) {
    binding::Received<notesapi::BOOL> added;
    const NotesStatus status = binding::Checked(
        "IDInsert", Api().IDInsert(table, id, inserted != nullptr ? added.Target() : nullptr));
    if (status == 0 && inserted != nullptr) *inserted = added.Value() != 0;
    return status;
}

std::uint32_t CountIdTableEntries(IdTableHandle table) { return Api().IDEntries(table); }

void DestroyIdTable(IdTableHandle table) {
    LiveIdTables().erase(table);
    binding::Checked("IDDestroyTable", Api().IDDestroyTable(table));
}

}  // namespace notes
