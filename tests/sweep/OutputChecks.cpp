#include "tests/sweep/OutputChecks.h"

#include <algorithm>

namespace sweep {
namespace {

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = content.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        lines.push_back(content.substr(start, end + 2 - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> SplitFields(const std::string& row) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (const char c : row) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

bool IsNumberText(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789.E+-\r\n") == std::string::npos;
}

}  // namespace

std::vector<std::string> SplitRows(const std::string& content) {
    std::vector<std::string> rows;
    std::string row;
    bool quoted = false;
    for (std::size_t i = 0; i < content.size(); ++i) {
        row += content[i];
        if (content[i] == '"') quoted = !quoted;
        if (!quoted && content[i] == '\n' && i > 0 && content[i - 1] == '\r') {
            rows.push_back(row);
            row.clear();
        }
    }
    if (!row.empty()) rows.push_back(row);
    return rows;
}

std::string OneLineRemoved(const std::string& clean, const std::string& faulted,
                           const std::string& marker, bool optional) {
    if (optional && clean == faulted) return "";
    std::vector<std::string> lines = SplitLines(clean);
    const std::vector<std::string> kept = SplitLines(faulted);
    if (kept.size() + 1 != lines.size()) return "not exactly one line fewer than the clean output";
    const auto mismatch = std::mismatch(kept.begin(), kept.end(), lines.begin());
    const std::size_t removed = static_cast<std::size_t>(mismatch.second - lines.begin());
    if (lines[removed].find(marker) == std::string::npos) {
        return "the missing line is not one with " + marker + ": " + lines[removed];
    }
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(removed));
    return lines == kept ? "" : "differs from the clean output in more than one line";
}

std::string CompleteRowsOf(const std::string& clean, const std::string& faulted) {
    const std::vector<std::string> rows = SplitRows(clean);
    const std::vector<std::string> written = SplitRows(faulted);
    if (written.size() > rows.size()) return "more rows than the clean run";
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i] != rows[i]) return "row " + std::to_string(i + 1) + " differs";
    }
    return "";
}

std::string AtMostOneNumberEmptied(const std::string& clean, const std::string& faulted) {
    const std::vector<std::string> rows = SplitRows(clean);
    const std::vector<std::string> written = SplitRows(faulted);
    if (written.size() != rows.size()) return "not the clean run's number of rows";
    std::size_t changed = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == written[i]) continue;
        const std::vector<std::string> cleanFields = SplitFields(rows[i]);
        const std::vector<std::string> fields = SplitFields(written[i]);
        if (fields.size() != cleanFields.size()) {
            return "row " + std::to_string(i + 1) + " lost fields";
        }
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (fields[f] == cleanFields[f]) continue;
            if (++changed > 1) return "more than one field changed";
            const bool emptied = IsNumberText(cleanFields[f]) &&
                                 fields[f].find_first_not_of("\r\n") == std::string::npos &&
                                 cleanFields[f].ends_with(fields[f]);
            if (!emptied) return "row " + std::to_string(i + 1) + " changed in more than a number";
        }
    }
    return "";
}

}  // namespace sweep
