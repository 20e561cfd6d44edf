// The memory objects behind compiled formulas and ID tables.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "notessim/CTypes.h"
#include "notessim/Formula.h"
#include "notessim/Handles.h"

namespace notessim {

struct CompiledFormula : MemoryObject {
    FormulaNode root;
    std::string source;  // what a lock shows: the formula text as compiled
    void* Data() override { return source.data(); }
    std::size_t Size() const override { return source.size(); }
    const char* Describe() const override { return "compiled formula"; }
};

struct IdTableObject : MemoryObject {
    std::set<NOTEID> ids;
    // What a lock shows: a 32-bit count followed by the IDs in ascending order.
    std::vector<NOTEID> image;
    void* Data() override;
    std::size_t Size() const override { return (ids.size() + 1) * sizeof(NOTEID); }
    const char* Describe() const override { return "ID table"; }
};

// The live object of a memory handle of that sort, or null with a recorded misuse.
CompiledFormula* FindCompiledFormula(DHANDLE handle, const char* operation);
IdTableObject* FindIdTable(DHANDLE handle, const char* operation);

}  // namespace notessim
