#include "logscan/CsvField.h"

namespace logscan {

std::string QuoteCsvField(std::string_view value) {
    if (value.find_first_of(",\"\n") == std::string_view::npos) return std::string(value);
    std::string field;
    field.reserve(value.size() + 2);
    field += '"';
    for (const char c : value) {
        if (c == '"') field += '"';
        field += c;
    }
    field += '"';
    return field;
}

}  // namespace logscan
