#include "tests/directory/ExpectedNab.h"

#include <nlohmann/json.hpp>
#include <optional>

#include "tests/support/TestSupport.h"

namespace testsupport {
namespace {

using nlohmann::json;

bool SameIgnoringAsciiCase(std::string a, std::string b) {
    for (std::string* text : {&a, &b}) {
        for (char& c : *text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return a == b;
}

const json* FindViewEntries(const json& views, const std::string& name) {
    for (const auto& [aliases, entries] : views.items()) {
        std::size_t start = 0;
        while (start <= aliases.size()) {
            const std::size_t bar = std::min(aliases.find('|', start), aliases.size());
            if (SameIgnoringAsciiCase(aliases.substr(start, bar - start), name)) return &entries;
            start = bar + 1;
        }
    }
    return nullptr;
}

std::optional<std::string> NameOf(const json& note, const std::string& itemName) {
    for (const json& item : note["items"]) {
        if (!SameIgnoringAsciiCase(item[0].get<std::string>(), itemName)) continue;
        if (item[1].is_string()) return item[1].get<std::string>();
        if (item[1].empty()) return std::nullopt;
        return item[1][0].get<std::string>();
    }
    return std::nullopt;
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '"': out += "&quot;"; break;
            case '&': out += "&amp;"; break;
            case '\'': out += "&apos;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '\t': out += "&#x9;"; break;
            case '\n': out += "&#xA;"; break;
            case '\r': out += "&#xD;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Section(const json& database, const std::string& view, const std::string& itemName,
                    const std::string& group, const std::string& element) {
    std::string lines;
    for (const json& entry : *FindViewEntries(database["views"], view)) {
        if (!entry.is_number()) continue;  // a category
        for (const json& note : database["notes"]) {
            if (note["id"] != entry) continue;
            if (const auto name = NameOf(note, itemName)) {
                lines += "        <" + element + " name=\"" + Escaped(*name) + "\"/>\r\n";
            }
        }
    }
    if (lines.empty()) return "    <" + group + "/>\r\n";
    return "    <" + group + ">\r\n" + lines + "    </" + group + ">\r\n";
}

}  // namespace

std::string ExpectedNabXml(const std::filesystem::path& namesNsf) {
    const json database = json::parse(ReadFile(namesNsf));
    return "<?xml version='1.0' encoding='utf-8'?>\r\n<nab>\r\n" +
           Section(database, "($People)", "FullName", "people", "user") +
           Section(database, "($Servers)", "ServerName", "servers", "server") + "</nab>\r\n";
}

}  // namespace testsupport
