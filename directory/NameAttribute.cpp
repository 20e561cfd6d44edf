#include "directory/NameAttribute.h"

#include <tinyxml2.h>

namespace directory {
namespace {

std::string_view Reference(char c) {
    switch (c) {
        case '"': return "&quot;";
        case '&': return "&amp;";
        case '\'': return "&apos;";
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '\t': return "&#x9;";
        case '\n': return "&#xA;";
        case '\r': return "&#xD;";
        default: return {};
    }
}

// The printer escapes only its five entities and offers no way to write anything else into an
// attribute; its own output call is protected, so it is reached through a class derived from it.
class AttributeOutput : public tinyxml2::XMLPrinter {
public:
    using WriteCall = void (tinyxml2::XMLPrinter::*)(const char*, std::size_t);
    static WriteCall OutputCall() { return static_cast<WriteCall>(&AttributeOutput::Write); }
};

}  // namespace

void PushNameAttribute(tinyxml2::XMLPrinter& printer, std::string_view value) {
    const AttributeOutput::WriteCall write = AttributeOutput::OutputCall();
    const auto put = [&](std::string_view text) { (printer.*write)(text.data(), text.size()); };
    put(" name=\"");
    std::size_t plain = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const std::string_view reference = Reference(value[i]);
        if (reference.empty()) continue;
        put(value.substr(plain, i - plain));
        put(reference);
        plain = i + 1;
    }
    put(value.substr(plain));
    put("\"");
}

}  // namespace directory
