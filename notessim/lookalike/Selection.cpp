// Selection formulas, database searches and ID tables.
#include "notessim/Faults.h"
#include "notessim/Selection.h"
#include "notessim/Statuses.h"
#include "notessim/lookalike/Bridge.h"

using namespace lookalike;

namespace {

struct SearchCall {
    NSFSEARCHPROC callback;
    void* param;
};

// The runtime's callback shape in front of the caller's NSFSEARCHPROC, which is __stdcall on
// 32-bit Windows.
notes::NotesStatus DeliverMatch(void* context, const void* match, const void* summary) {
    const auto* call = static_cast<const SearchCall*>(context);
    return call->callback(call->param,
                          static_cast<SEARCH_MATCH*>(const_cast<void*>(match)),
                          static_cast<ITEM_TABLE*>(const_cast<void*>(summary)));
}

}  // namespace

STATUS LNPUBLIC NSFFormulaCompile(char* name, WORD nameLength, const char* text, WORD textLength,
                                  FORMULAHANDLE* retFormula, WORD* retFormulaLength,
                                  STATUS* retCompileError, WORD* retLine, WORD* retColumn,
                                  WORD* retOffset, WORD* retLength) try {
    return notes::CompileFormula(name, nameLength, text, textLength, retFormula, retFormulaLength,
                                 retCompileError, retLine, retColumn, retOffset, retLength);
} catch (...) {
    return CaughtException("NSFFormulaCompile");
}

STATUS LNPUBLIC NSFSearch(DBHANDLE database, FORMULAHANDLE formula, char* viewTitle,
                          WORD searchFlags, WORD noteClassMask, TIMEDATE* since,
                          NSFSEARCHPROC callback, void* param, TIMEDATE* retUntil) try {
    SearchCall call{callback, param};
    const notes::TimeDate sinceTime = since == nullptr ? notes::TimeDate{} : ToRuntimeTime(*since);
    notes::TimeDate until{};
    const notes::SearchCallback deliver = callback == nullptr ? nullptr : DeliverMatch;
    STATUS status = NOERROR;
    if (ExtendedDelivery()) {
        // Non-matching notes and a deletion stub too, as a real library may deliver them.
        if (const auto fault = notessim::TakeFault("SearchDatabase")) return *fault;
        status = notessim::SearchNotes(database, formula, noteClassMask, deliver, &call,
                                       retUntil == nullptr ? nullptr : &until, true);
    } else {
        status = notes::SearchDatabase(database, formula, viewTitle, searchFlags, noteClassMask,
                                       since == nullptr ? nullptr : &sinceTime, deliver, &call,
                                       retUntil == nullptr ? nullptr : &until);
    }
    if (status == NOERROR && retUntil != nullptr) *retUntil = ToApiTime(until);
    return status;
} catch (...) {
    return CaughtException("NSFSearch");
}

STATUS LNPUBLIC IDCreateTable(DWORD alignment, DHANDLE* retTable) try {
    STATUS refused = NOERROR;
    if (!FitsWord(alignment, "IDCreateTable", "alignment", refused)) return refused;
    return notes::CreateIdTable(static_cast<WORD>(alignment), retTable);
} catch (...) {
    return CaughtException("IDCreateTable");
}

STATUS LNPUBLIC IDInsert(DHANDLE table, NOTEID id, BOOL* retInserted) try {
    bool inserted = false;
    const STATUS status = notes::InsertIdIntoTable(table, id, &inserted);
    if (status == NOERROR && retInserted != nullptr) *retInserted = ToBool(inserted);
    return status;
} catch (...) {
    return CaughtException("IDInsert");
}

DWORD LNPUBLIC IDEntries(DHANDLE table) try {
    return notes::CountIdTableEntries(table);
} catch (...) {
    CaughtException("IDEntries");
    return 0;
}

STATUS LNPUBLIC IDDestroyTable(DHANDLE table) try {
    if (dynamic_cast<notessim::IdTableObject*>(
            notessim::LiveHandle(notessim::HandleKind::memory, table)) == nullptr) {
        return RefuseMisuse("IDDestroyTable",
                            "memory handle " + std::to_string(table) + " is not an open ID table",
                            notessim::kStatusInvalidHandle);
    }
    notes::DestroyIdTable(table);
    return NOERROR;
} catch (...) {
    return CaughtException("IDDestroyTable");
}
