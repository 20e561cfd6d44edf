// Evaluating a selection formula against one note's items.
#include <cstring>
#include <optional>

#include "notessim/Formula.h"
#include "notessim/Names.h"
#include "notessim/TextCopy.h"
#include "platform/Text.h"

namespace notessim {
namespace {

// A formula value: a list of texts, or a number (truth values are 1 and 0).
struct Value {
    bool isNumber = false;
    double number = 0;
    std::vector<std::string> texts;  // library character set
};

using Result = std::optional<Value>;  // nothing: the expression cannot be evaluated

Value Truth(bool truth) { return Value{true, truth ? 1.0 : 0.0, {}}; }

Value Texts(std::vector<std::string> texts) { return Value{false, 0, std::move(texts)}; }

std::uint16_t ReadWord(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::vector<std::string> TextListMembers(const std::string& value) {
    if (value.size() < 2) return {""};
    const std::uint16_t count = ReadWord(value, 0);
    std::size_t textAt = 2 + 2 * std::size_t{count};
    if (textAt > value.size()) return {""};
    std::vector<std::string> members;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint16_t length = ReadWord(value, 2 + 2 * std::size_t{i});
        if (textAt + length > value.size()) break;
        members.push_back(value.substr(textAt, length));
        textAt += length;
    }
    if (members.empty()) members.emplace_back();
    return members;
}

// A missing field, and a field of a type the subset does not compare, read as "".
Value FieldValue(const std::vector<SimItem>& items, std::string_view name) {
    const SimItem* item = FindItem(items, name);
    if (item == nullptr) return Texts({""});
    switch (item->type) {
        case notesapi::TYPE_TEXT: return Texts({item->value});
        case notesapi::TYPE_TEXT_LIST: return Texts(TextListMembers(item->value));
        case notesapi::TYPE_NUMBER:
            if (item->value.size() == sizeof(double)) {
                double number = 0;
                std::memcpy(&number, item->value.data(), sizeof number);
                return Value{true, number, {}};
            }
            return Texts({""});
        default: return Texts({""});
    }
}

// ASCII and Latin-1 letters change case; everything else stays.
char16_t ChangeCase(char16_t c, bool lower) {
    const bool upperLetter = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    const bool lowerLetter = (c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7);
    if (lower && upperLetter) return static_cast<char16_t>(c + 0x20);
    if (!lower && lowerLetter) return static_cast<char16_t>(c - 0x20);
    return c;
}

std::string ChangeTextCase(const std::string& text, bool lower) {
    std::u16string wide = platform::Utf8ToUtf16(LibraryTextToUtf8(text));
    for (char16_t& c : wide) c = ChangeCase(c, lower);
    return Utf8ToLibraryText(platform::Utf16ToUtf8(wide));
}

template <typename Transform>
Result MapTexts(const Result& operand, Transform transform) {
    if (!operand || operand->isNumber) return std::nullopt;
    Value mapped;
    for (const std::string& text : operand->texts) mapped.texts.push_back(transform(text));
    return mapped;
}

// A list equals a value when any member equals any member of the other; text compares exactly.
Result Equal(const Result& left, const Result& right) {
    if (!left || !right || left->isNumber != right->isNumber) return std::nullopt;
    if (left->isNumber) return Truth(left->number == right->number);
    for (const std::string& a : left->texts) {
        for (const std::string& b : right->texts) {
            if (a == b) return Truth(true);
        }
    }
    return Truth(false);
}

std::optional<bool> AsTruth(const Result& value) {
    if (!value || !value->isNumber) return std::nullopt;
    return value->number != 0;
}

Result Evaluate(const FormulaNode& node, const std::vector<SimItem>& items) {
    using Kind = FormulaNode::Kind;
    const auto operand = [&](std::size_t i) { return Evaluate(node.operands[i], items); };
    switch (node.kind) {
        case Kind::text: return Texts({node.text});
        case Kind::field: return FieldValue(items, node.text);
        case Kind::truth: return Truth(node.truth);
        case Kind::equal: return Equal(operand(0), operand(1));
        case Kind::notEqual: {
            const auto equal = AsTruth(Equal(operand(0), operand(1)));
            if (!equal) return std::nullopt;
            return Truth(!*equal);
        }
        case Kind::logicalAnd:
        case Kind::logicalOr: {
            const auto left = AsTruth(operand(0));
            const auto right = AsTruth(operand(1));
            if (!left || !right) return std::nullopt;
            return Truth(node.kind == Kind::logicalAnd ? (*left && *right) : (*left || *right));
        }
        case Kind::logicalNot: {
            const auto value = AsTruth(operand(0));
            if (!value) return std::nullopt;
            return Truth(!*value);
        }
        case Kind::lowerCase:
            return MapTexts(operand(0),
                            [](const std::string& t) { return ChangeTextCase(t, true); });
        case Kind::upperCase:
            return MapTexts(operand(0),
                            [](const std::string& t) { return ChangeTextCase(t, false); });
        case Kind::canonicalize:
            return MapTexts(operand(0), [](const std::string& t) {
                return Utf8ToLibraryText(CanonicalizeName(LibraryTextToUtf8(t)));
            });
        case Kind::abbreviate:
            return MapTexts(operand(0), [](const std::string& t) {
                return Utf8ToLibraryText(AbbreviateName(LibraryTextToUtf8(t)));
            });
    }
    return std::nullopt;
}

}  // namespace

bool FormulaSelects(const FormulaNode& root, const std::vector<SimItem>& items) {
    return AsTruth(Evaluate(root, items)).value_or(false);
}

}  // namespace notessim
