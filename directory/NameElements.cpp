#include "directory/NameElements.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cstdint>

#include "directory/AddressRange.h"
#include "directory/NameAttribute.h"
#include "directory/XmlCharacters.h"
#include "notes/NotesPlatform.h"

namespace directory {
namespace {

std::size_t Word(const unsigned char* at) { return static_cast<std::size_t>(at[0] | (at[1] << 8)); }

// A text list (count, the lengths, the texts) that lies wholly inside its `length` bytes. The
// library reads a list as its words say, so a list that claims more is never handed to it.
bool ListFitsItsValue(const char* value, std::size_t length) {
    const auto* list = reinterpret_cast<const unsigned char*>(value);
    if (length < 2) return false;
    const std::size_t count = Word(list);
    std::size_t used = 2 + 2 * count;
    if (used > length) return false;
    for (std::size_t i = 0; i < count; ++i) used += Word(list + 2 + 2 * i);
    return used <= length;
}

// The first entry of the list `value` of `length` bytes, or false when there is none to be had.
// The text the library points to must be that entry's, as the list's own words place it:
// anything else would copy bytes from beside the entry, or from outside the list, into a name.
bool FirstListEntry(const char*& value, std::uint16_t& length) {
    if (!ListFitsItsValue(value, length)) return false;
    if (notes::CountListEntries(value, false) == 0) return false;
    const auto* list = reinterpret_cast<const unsigned char*>(value);
    const std::size_t count = Word(list);
    if (count == 0) return false;
    const unsigned char* entry = list + 2 + 2 * count;
    const std::size_t entryLength = Word(list + 2);
    const char* text = nullptr;
    std::uint16_t textLength = 0;
    if (notes::GetListEntryText(value, false, 0, &text, &textLength) != 0) return false;
    if (text == nullptr || !LiesWithin(entry, entryLength, text, textLength)) return false;
    value = text;
    length = textLength;
    return true;
}

}  // namespace

void WriteNameElement(tinyxml2::XMLPrinter& printer, const void* itemTable, const char* itemName,
                      const char* elementName) {
    const char* value = nullptr;
    std::uint16_t length = 0;
    std::uint16_t type = 0;
    if (!notes::FindSummaryItem(itemTable, itemName, &value, &length, &type)) return;
    // A number or a time is no name: its bytes read as text would be garbage.
    if (type != notes::kTypeText && type != notes::kTypeTextList) return;
    // Should the first entry not be had, no name is better than list bytes read as text.
    if (type == notes::kTypeTextList && !FirstListEntry(value, length)) return;
    char name[kNameValueBytes + 1];
    const std::uint32_t written = notes::TranslateText(notes::kTranslateLmbcsToUtf8, value, length,
                                                       name, kNameValueBytes);
    const std::size_t kept =
        RemoveCharactersXmlForbids(name, std::min<std::size_t>(written, kNameValueBytes));
    printer.OpenElement(elementName, false);
    PushNameAttribute(printer, std::string_view(name, kept));
    printer.CloseElement(false);
}

void WriteUser(tinyxml2::XMLPrinter& printer, const void* itemTable) {
    WriteNameElement(printer, itemTable, "FullName", "user");
}

void WriteServer(tinyxml2::XMLPrinter& printer, const void* itemTable) {
    WriteNameElement(printer, itemTable, "ServerName", "server");
}

}  // namespace directory
