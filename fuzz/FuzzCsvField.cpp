// QuoteCsvField on arbitrary bytes: the field equals what a plain reading of the quoting rule
// gives, and reading the field back as one CSV field gives the value again.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "logscan/CsvField.h"

namespace {

bool IsTrigger(char c) { return c == ',' || c == '"' || c == '\n' || c == '\r'; }

std::string ReferenceField(std::string_view value) {
    bool quote = false;
    for (const char c : value) quote = quote || IsTrigger(c);
    if (!quote) return std::string(value);
    std::string field = "\"";
    for (const char c : value) {
        field += c;
        if (c == '"') field += '"';
    }
    return field + "\"";
}

// The value of one complete CSV field, or nothing when the text is not exactly one field.
std::optional<std::string> ReadField(std::string_view field) {
    if (field.empty() || field.front() != '"') {
        for (const char c : field) {
            if (IsTrigger(c)) return std::nullopt;
        }
        return std::string(field);
    }
    std::string value;
    std::size_t i = 1;
    while (i < field.size()) {
        if (field[i] != '"') {
            value += field[i++];
        } else if (i + 1 < field.size() && field[i + 1] == '"') {
            value += '"';
            i += 2;
        } else {
            // The closing quote must be the field's last byte.
            return i + 1 == field.size() ? std::optional<std::string>(value) : std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    const std::string field = logscan::QuoteCsvField(value);
    if (field != ReferenceField(value)) __builtin_trap();
    const std::optional<std::string> back = ReadField(field);
    if (!back || *back != value) __builtin_trap();
    return 0;
}
