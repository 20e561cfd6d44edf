// ID tables: sets of note IDs behind memory handles.
#include <memory>
#include <string>

#include "notes/NotesPlatform.h"
#include "notessim/Faults.h"
#include "notessim/Runtime.h"
#include "notessim/Selection.h"
#include "notessim/Statuses.h"

namespace notessim {
namespace {

template <typename T>
T* FindMemoryAs(std::uint32_t handle, const char* operation, const char* what) {
    HandleObject* object = FindHandle(HandleKind::memory, handle, operation);
    if (object == nullptr) return nullptr;
    auto* typed = dynamic_cast<T*>(object);
    if (typed == nullptr) {
        RecordMisuse(std::string(operation) + ": memory handle " + std::to_string(handle) +
                     " is not " + what);
    }
    return typed;
}

}  // namespace

void* IdTableObject::Data() {
    image.assign(1, static_cast<notes::NoteId>(ids.size()));
    image.insert(image.end(), ids.begin(), ids.end());
    return image.data();
}

CompiledFormula* FindCompiledFormula(notes::FormulaHandle handle, const char* operation) {
    return FindMemoryAs<CompiledFormula>(handle, operation, "a compiled formula");
}

IdTableObject* FindIdTable(notes::IdTableHandle handle, const char* operation) {
    return FindMemoryAs<IdTableObject>(handle, operation, "an ID table");
}

}  // namespace notessim

namespace notes {

using namespace notessim;

NotesStatus CreateIdTable(std::uint16_t /*alignment*/, IdTableHandle* table) {
    SIM_FAULT_POINT("CreateIdTable");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    *table = RegisterHandle(HandleKind::memory, std::make_unique<IdTableObject>());
    return 0;
}

NotesStatus InsertIdIntoTable(IdTableHandle table, NoteId id, bool* inserted) {
    SIM_FAULT_POINT("InsertIdIntoTable");
    IdTableObject* object = FindIdTable(table, "InsertIdIntoTable");
    if (object == nullptr) return kStatusInvalidHandle;
    const bool added = object->ids.insert(id).second;
    if (inserted != nullptr) *inserted = added;
    return 0;
}

std::uint32_t CountIdTableEntries(IdTableHandle table) {
    const IdTableObject* object = FindIdTable(table, "CountIdTableEntries");
    return object == nullptr ? 0 : static_cast<std::uint32_t>(object->ids.size());
}

void DestroyIdTable(IdTableHandle table) {
    if (FindIdTable(table, "DestroyIdTable") == nullptr) return;
    ReleaseHandle(HandleKind::memory, table, "DestroyIdTable");
}

}  // namespace notes
