#include "directory/NameElements.h"

#include <tinyxml2.h>

#include <algorithm>

#include "directory/XmlCharacters.h"
#include "notes/NotesPlatform.h"

namespace directory {

void WriteNameElement(tinyxml2::XMLPrinter& printer, const void* itemTable, const char* itemName,
                      const char* elementName) {
    const char* value = nullptr;
    std::uint16_t length = 0;
    std::uint16_t type = 0;
    if (!notes::FindSummaryItem(itemTable, itemName, &value, &length, &type)) return;
    // A number or a time is no name: its bytes read as text would be garbage.
    if (type != notes::kTypeText && type != notes::kTypeTextList) return;
    if (type == notes::kTypeTextList) {
        if (notes::CountListEntries(value, false) == 0) return;
        // Should the first entry not be had, no name is better than list bytes read as text.
        if (notes::GetListEntryText(value, false, 0, &value, &length) != 0) return;
    }
    char name[kNameValueBytes + 1];
    const std::uint32_t written = notes::TranslateText(notes::kTranslateLmbcsToUtf8, value, length,
                                                       name, kNameValueBytes);
    name[RemoveCharactersXmlForbids(name, std::min<std::size_t>(written, kNameValueBytes))] = '\0';
    printer.OpenElement(elementName, false);
    printer.PushAttribute("name", name);
    printer.CloseElement(false);
}

void WriteUser(tinyxml2::XMLPrinter& printer, const void* itemTable) {
    WriteNameElement(printer, itemTable, "FullName", "user");
}

void WriteServer(tinyxml2::XMLPrinter& printer, const void* itemTable) {
    WriteNameElement(printer, itemTable, "ServerName", "server");
}

}  // namespace directory
