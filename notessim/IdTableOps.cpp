// ID tables: sets of note IDs behind memory handles.
#include <memory>
#include <string>

#include "notessim/ApiEdge.h"
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
    image.assign(1, static_cast<NOTEID>(ids.size()));
    image.insert(image.end(), ids.begin(), ids.end());
    return image.data();
}

CompiledFormula* FindCompiledFormula(DHANDLE handle, const char* operation) {
    return FindMemoryAs<CompiledFormula>(handle, operation, "a compiled formula");
}

IdTableObject* FindIdTable(DHANDLE handle, const char* operation) {
    return FindMemoryAs<IdTableObject>(handle, operation, "an ID table");
}

}  // namespace notessim

using namespace notessim;

STATUS LNPUBLIC IDCreateTable(DWORD alignment, DHANDLE* retTable) try {
    STATUS refused = 0;
    if (!FitsWord(alignment, "IDCreateTable", "alignment", refused)) return refused;
    SIM_FAULT_POINT("CreateIdTable");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    *retTable = RegisterHandle(HandleKind::memory, std::make_unique<IdTableObject>());
    return 0;
} catch (...) {
    return CaughtException("IDCreateTable");
}

STATUS LNPUBLIC IDInsert(DHANDLE table, NOTEID id, BOOL* retInserted) try {
    SIM_FAULT_POINT("InsertIdIntoTable");
    IdTableObject* object = FindIdTable(table, "InsertIdIntoTable");
    if (object == nullptr) return kStatusInvalidHandle;
    const bool added = object->ids.insert(id).second;
    if (retInserted != nullptr) *retInserted = ToBool(added);
    return 0;
} catch (...) {
    return CaughtException("IDInsert");
}

DWORD LNPUBLIC IDEntries(DHANDLE table) try {
    const IdTableObject* object = FindIdTable(table, "CountIdTableEntries");
    return object == nullptr ? 0 : static_cast<DWORD>(object->ids.size());
} catch (...) {
    CaughtException("IDEntries");
    return 0;
}

STATUS LNPUBLIC IDDestroyTable(DHANDLE table) try {
    if (dynamic_cast<IdTableObject*>(LiveHandle(HandleKind::memory, table)) == nullptr) {
        return RefuseMisuse("IDDestroyTable",
                            "memory handle " + std::to_string(table) + " is not an open ID table",
                            kStatusInvalidHandle);
    }
    ReleaseHandle(HandleKind::memory, table, "DestroyIdTable");
    return 0;
} catch (...) {
    return CaughtException("IDDestroyTable");
}
