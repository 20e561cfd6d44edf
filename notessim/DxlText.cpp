#include "notessim/DxlText.h"

#include <cstdio>
#include <cstring>

#include "notessim/TextCopy.h"
#include "platform/Text.h"

namespace notessim {
namespace {

bool AllowedInXml(char32_t c) {
    if (c < 0x20) return c == 0x09 || c == 0x0A || c == 0x0D;
    return c != 0xFFFE && c != 0xFFFF;
}

// Built by appending: GCC 12 at -O3 takes `" " + std::string(...)` for an overlapping copy.
std::string Attribute(std::string_view name, std::string_view utf8) {
    std::string attribute = " ";
    attribute += name;
    attribute += "='";
    attribute += EscapeXml(utf8);
    attribute += '\'';
    return attribute;
}

std::string TimeHex(const std::string& value) {
    TIMEDATE time{};
    std::memcpy(&time, value.data(), sizeof time);
    char text[17];
    std::snprintf(text, sizeof text, "%08X%08X", time.Innards[1], time.Innards[0]);
    return text;
}

std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

std::uint16_t ReadWord(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

std::string TextElement(std::string_view lmbcs) {
    return "<text>" + EscapeXml(LibraryTextToUtf8(lmbcs)) + "</text>";
}

// False when the bytes are not a well-formed text list.
bool TextListElement(const std::string& value, std::string& element) {
    if (value.size() < 2) return false;
    const std::uint16_t count = ReadWord(value, 0);
    std::size_t textAt = 2 + 2 * std::size_t{count};
    if (textAt > value.size()) return false;
    element = "<textlist>";
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint16_t length = ReadWord(value, 2 + 2 * std::size_t{i});
        if (textAt + length > value.size()) return false;
        element += TextElement(std::string_view(value).substr(textAt, length));
        textAt += length;
    }
    element += "</textlist>";
    return true;
}

std::string Raw(const SimItem& item) {
    return "<raw type='" + std::to_string(item.type) + "'>" + Hex(item.value) + "</raw>";
}

std::string ValueElement(const SimItem& item) {
    switch (item.type) {
        case notesapi::TYPE_TEXT: return TextElement(item.value);
        case notesapi::TYPE_TEXT_LIST: {
            std::string element;
            return TextListElement(item.value, element) ? element : Raw(item);
        }
        case notesapi::TYPE_NUMBER:
            if (item.value.size() == sizeof(double)) {
                double number = 0;
                std::memcpy(&number, item.value.data(), sizeof number);
                char text[32];
                std::snprintf(text, sizeof text, "%.15G", number);
                return std::string("<number>") + text + "</number>";
            }
            return Raw(item);
        case notesapi::TYPE_TIME:
            if (item.value.size() == sizeof(TIMEDATE)) {
                return "<datetime>" + TimeHex(item.value) + "</datetime>";
            }
            return Raw(item);
        default: return Raw(item);
    }
}

}  // namespace

std::string EscapeXml(std::string_view utf8) {
    const std::u16string text = platform::Utf8ToUtf16(utf8);
    std::u16string escaped;
    escaped.reserve(text.size());
    for (const char16_t c : text) {
        switch (c) {
            case u'&': escaped += u"&amp;"; break;
            case u'<': escaped += u"&lt;"; break;
            case u'>': escaped += u"&gt;"; break;
            case u'\'': escaped += u"&apos;"; break;
            case u'"': escaped += u"&quot;"; break;
            case u'\t': escaped += u"&#9;"; break;
            case u'\n': escaped += u"&#10;"; break;
            case u'\r': escaped += u"&#13;"; break;
            default: escaped += AllowedInXml(c) ? c : u'\uFFFD';
        }
    }
    return platform::Utf16ToUtf8(escaped);
}

std::string DxlDatabaseStart(const SimDatabase& database, std::string_view filePath) {
    std::string start = "<?xml version='1.0' encoding='utf-8'?>\n<database";
    start += Attribute("title", database.title);
    start += Attribute("path", LibraryTextToUtf8(filePath));
    start += Attribute("replicaid",
                       TimeHex(std::string(reinterpret_cast<const char*>(&database.replicaId),
                                           sizeof database.replicaId)));
    return start + ">\n";
}

std::string DxlDocument(NOTEID id, const std::vector<SimItem>& items) {
    std::string document = "<document noteid='" + std::to_string(id) + "'>\n";
    for (const SimItem& item : items) {
        document += "<item" + Attribute("name", LibraryTextToUtf8(item.name)) + ">";
        document += ValueElement(item);
        document += "</item>\n";
    }
    return document + "</document>\n";
}

std::string DxlDatabaseEnd() { return "</database>\n"; }

}  // namespace notessim
