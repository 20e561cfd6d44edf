// Tokens and grammar of the selection formulas:
//   formula    := [SELECT] expression
//   expression := negation { ("&" | "|") negation }     & and | bind equally, left to right
//   negation   := "!" negation | comparison             ! binds looser than = and !=
//   comparison := primary { ("=" | "!=") primary }
//   primary    := text | field | "(" expression ")" | function
#include <optional>

#include "notessim/Formula.h"
#include "notessim/Runtime.h"

namespace notessim {
namespace {

enum class TokenKind { end, text, name, function, keyword, op };

struct Token {
    TokenKind kind = TokenKind::end;
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string value;  // a literal's text, a name, a function or keyword name, an operator
};

struct SyntaxError {
    FormulaError error;
};

[[noreturn]] void Fail(std::size_t offset, std::size_t length, std::string message) {
    throw SyntaxError{{offset, length, std::move(message)}};
}

bool IsNameByte(char c, bool first) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$' || byte >= 0x80) {
        return true;
    }
    return !first && c >= '0' && c <= '9';
}

class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    Token Next() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
        Token token;
        token.offset = pos_;
        if (pos_ == text_.size()) return token;
        const char c = text_[pos_];
        if (c == '"') return Literal();
        if (c == '@') {
            ++pos_;
            token.kind = TokenKind::function;
            token.value = Name();
            if (token.value.empty()) Fail(token.offset, 1, "a function name must follow @");
        } else if (c == '[') {
            const std::size_t close = text_.find(']', pos_);
            if (close == std::string_view::npos) {
                Fail(pos_, text_.size() - pos_, "unterminated keyword");
            }
            token.kind = TokenKind::keyword;
            token.value = std::string(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
        } else if (IsNameByte(c, true)) {
            token.kind = TokenKind::name;
            token.value = Name();
        } else if (c == '!' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '=') {
            token.kind = TokenKind::op;
            token.value = "!=";
            pos_ += 2;
        } else if (std::string_view("=&|!();").find(c) != std::string_view::npos) {
            token.kind = TokenKind::op;
            token.value = std::string(1, c);
            ++pos_;
        } else {
            Fail(pos_, 1, std::string("unexpected character '") + c + "'");
        }
        token.length = pos_ - token.offset;
        return token;
    }

private:
    static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    std::string Name() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && IsNameByte(text_[pos_], pos_ == start)) ++pos_;
        return std::string(text_.substr(start, pos_ - start));
    }

    // "..." with backslash escapes: a backslash takes the next byte literally.
    Token Literal() {
        Token token;
        token.kind = TokenKind::text;
        token.offset = pos_++;
        while (true) {
            if (pos_ >= text_.size()) {
                Fail(token.offset, text_.size() - token.offset, "unterminated text literal");
            }
            const char c = text_[pos_++];
            if (c == '"') break;
            if (c == '\\') {
                if (pos_ >= text_.size()) {
                    Fail(token.offset, text_.size() - token.offset, "unterminated text literal");
                }
                token.value += text_[pos_++];
            } else {
                token.value += c;
            }
        }
        token.length = pos_ - token.offset;
        return token;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

class Parser {
public:
    explicit Parser(std::string_view text) : tokens_(text) { Advance(); }

    FormulaNode Formula() {
        // The library compiles a selection formula with or without its keyword ("@All").
        if (current_.kind == TokenKind::name && EqualsIgnoringCase(current_.value, "SELECT")) {
            Advance();
        }
        FormulaNode root = Expression();
        if (current_.kind != TokenKind::end) Unexpected("end of formula expected");
        return root;
    }

private:
    void Advance() { current_ = tokens_.Next(); }

    [[noreturn]] void Unexpected(const std::string& what) {
        if (current_.kind == TokenKind::end) Fail(current_.offset, 0, what + " at the end");
        Fail(current_.offset, current_.length, what);
    }

    bool IsOperator(std::string_view op) const {
        return current_.kind == TokenKind::op && current_.value == op;
    }

    void Expect(std::string_view op) {
        if (!IsOperator(op)) Unexpected("'" + std::string(op) + "' expected");
        Advance();
    }

    static FormulaNode Combine(FormulaNode::Kind kind, FormulaNode left, FormulaNode right) {
        FormulaNode node;
        node.kind = kind;
        node.operands.push_back(std::move(left));
        node.operands.push_back(std::move(right));
        return node;
    }

    FormulaNode Expression() {
        FormulaNode left = Negation();
        while (IsOperator("&") || IsOperator("|")) {
            const auto kind =
                IsOperator("&") ? FormulaNode::Kind::logicalAnd : FormulaNode::Kind::logicalOr;
            Advance();
            left = Combine(kind, std::move(left), Negation());
        }
        return left;
    }

    FormulaNode Negation() {
        if (!IsOperator("!")) return Comparison();
        Advance();
        FormulaNode node;
        node.kind = FormulaNode::Kind::logicalNot;
        node.operands.push_back(Negation());
        return node;
    }

    FormulaNode Comparison() {
        FormulaNode left = Primary();
        while (IsOperator("=") || IsOperator("!=")) {
            const auto kind =
                IsOperator("=") ? FormulaNode::Kind::equal : FormulaNode::Kind::notEqual;
            Advance();
            left = Combine(kind, std::move(left), Primary());
        }
        return left;
    }

    FormulaNode Primary() {
        FormulaNode node;
        switch (current_.kind) {
            case TokenKind::text:
                node.kind = FormulaNode::Kind::text;
                node.text = current_.value;
                Advance();
                return node;
            case TokenKind::name:
                node.kind = FormulaNode::Kind::field;
                node.text = current_.value;
                Advance();
                return node;
            case TokenKind::function:
                return Function();
            default:
                break;
        }
        if (!IsOperator("(")) Unexpected("a value expected");
        Advance();
        node = Expression();
        Expect(")");
        return node;
    }

    std::optional<bool> TruthConstant(std::string_view name) const {
        if (EqualsIgnoringCase(name, "True") || EqualsIgnoringCase(name, "All")) return true;
        if (EqualsIgnoringCase(name, "False")) return false;
        return std::nullopt;
    }

    FormulaNode Function() {
        const Token function = current_;
        FormulaNode node;
        if (const auto truth = TruthConstant(function.value)) {
            node.truth = *truth;
            Advance();
            return node;
        }
        if (EqualsIgnoringCase(function.value, "LowerCase")) {
            node.kind = FormulaNode::Kind::lowerCase;
        } else if (EqualsIgnoringCase(function.value, "UpperCase")) {
            node.kind = FormulaNode::Kind::upperCase;
        } else if (!EqualsIgnoringCase(function.value, "Name")) {
            Unexpected("unknown function @" + function.value);
        }
        Advance();
        Expect("(");
        if (EqualsIgnoringCase(function.value, "Name")) {
            if (current_.kind == TokenKind::keyword &&
                EqualsIgnoringCase(current_.value, "CANONICALIZE")) {
                node.kind = FormulaNode::Kind::canonicalize;
            } else if (current_.kind == TokenKind::keyword &&
                       EqualsIgnoringCase(current_.value, "ABBREVIATE")) {
                node.kind = FormulaNode::Kind::abbreviate;
            } else {
                Unexpected("[CANONICALIZE] or [ABBREVIATE] expected");
            }
            Advance();
            Expect(";");
        }
        node.operands.push_back(Expression());
        Expect(")");
        return node;
    }

    Tokenizer tokens_;
    Token current_;
};

}  // namespace

bool ParseSelectionFormula(std::string_view text, FormulaNode& root, FormulaError& error) {
    try {
        root = Parser(text).Formula();
        return true;
    } catch (const SyntaxError& failure) {
        error = failure.error;
        return false;
    }
}

}  // namespace notessim
