// The memory objects behind compiled formulas and ID tables.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "notes/NotesPlatform.h"
#include "notessim/Formula.h"
#include "notessim/Handles.h"

namespace notessim {

struct CompiledFormula : MemoryObject {
    FormulaNode root;
    std::string source;  // what a lock shows: the formula text as compiled
    void* Data() override { return source.data(); }
    const char* Describe() const override { return "compiled formula"; }
};

struct IdTableObject : MemoryObject {
    std::set<notes::NoteId> ids;
    // What a lock shows: a 32-bit count followed by the IDs in ascending order.
    std::vector<notes::NoteId> image;
    void* Data() override;
    const char* Describe() const override { return "ID table"; }
};

// SearchDatabase without its fault point. With `everyNote` every note of the database is
// delivered, the matches with match flag 0x01 and the others without it, then a deletion stub of
// a note the database does not hold, as a real library may deliver them.
notes::NotesStatus SearchNotes(notes::DatabaseHandle database, notes::FormulaHandle formula,
                               std::uint16_t noteClassMask, notes::SearchCallback callback,
                               void* context, notes::TimeDate* until, bool everyNote);

// The live object of a memory handle of that sort, or null with a recorded misuse.
CompiledFormula* FindCompiledFormula(notes::FormulaHandle handle, const char* operation);
IdTableObject* FindIdTable(notes::IdTableHandle handle, const char* operation);

}  // namespace notessim
