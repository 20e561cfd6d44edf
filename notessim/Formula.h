// The selection formulas the runtime understands: "SELECT" followed by an expression of text
// literals, field names, = != & | ! and parentheses, and the functions @LowerCase, @UpperCase,
// @Name([CANONICALIZE]; x), @Name([ABBREVIATE]; x), @True, @False and @All.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "notessim/Database.h"

namespace notessim {

struct FormulaNode {
    enum class Kind {
        text,       // a literal; `text` holds it
        field,      // `text` holds the field name
        truth,      // @True, @False, @All; `truth` holds the value
        equal,
        notEqual,
        logicalAnd,
        logicalOr,
        logicalNot,
        lowerCase,
        upperCase,
        canonicalize,
        abbreviate,
    };
    Kind kind = Kind::truth;
    std::string text;  // library character set
    bool truth = false;
    std::vector<FormulaNode> operands;
};

struct FormulaError {
    std::size_t offset = 0;  // byte offset of the offending text
    std::size_t length = 0;  // its length in bytes (at least 1, except at the end of the text)
    std::string message;
};

// Parses a selection formula (library character set). False, with `error` filled, when the
// text is not a formula of the subset.
bool ParseSelectionFormula(std::string_view text, FormulaNode& root, FormulaError& error);

// Whether the formula selects a note with these items. An expression that cannot be evaluated
// (text where a truth value is needed, text compared with a number) selects nothing.
bool FormulaSelects(const FormulaNode& root, const std::vector<SimItem>& items);

}  // namespace notessim
