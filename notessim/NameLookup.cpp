#include "notessim/NameLookup.h"

#include <cstring>

#include "notessim/Names.h"
#include "notessim/Runtime.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"

namespace notessim {
namespace {

void PutWord(std::string& out, std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::vector<std::string_view> TextMembers(const SimItem& item) {
    if (item.type == notesapi::TYPE_TEXT) return {item.value};
    if (item.type == notesapi::TYPE_TEXT_LIST) return ListMembers(item.value);
    return {};
}

// A name matches a note when a member of one of its text items names the same, compared in
// canonical form without regard to ASCII letter case.
bool NoteMatches(const SimNote& note, const std::string& name) {
    const std::string wanted = CanonicalizeName(name);
    for (const SimItem& item : note.items) {
        for (const std::string_view member : TextMembers(item)) {
            if (EqualsIgnoringCase(CanonicalizeName(member), wanted)) return true;
        }
    }
    return false;
}

void AppendMatch(const SimNote& note, const std::vector<std::string>& items, std::string& out) {
    const std::size_t start = out.size();
    out.append(kLookupMatchHeaderSize + items.size() * kLookupItemDescriptorSize, '\0');
    for (std::size_t i = 0; i < items.size(); ++i) {
        const SimItem* item = FindItem(note.items, items[i]);
        const std::size_t descriptor = start + kLookupMatchHeaderSize + i * kLookupItemDescriptorSize;
        if (item == nullptr || item->value.size() > 0xFFFF) continue;  // no 16-bit length fits
        PutWord(out, descriptor, item->type, 2);
        PutWord(out, descriptor + 2, static_cast<std::uint32_t>(item->value.size()), 2);
        out += item->value;
    }
    PutWord(out, start, static_cast<std::uint32_t>(out.size() - start), 4);
    PutWord(out, start + 4, static_cast<std::uint32_t>(items.size()), 2);
}

}  // namespace

std::vector<std::string_view> ListMembers(std::string_view list) {
    std::vector<std::string_view> members;
    if (list.size() < 2) return members;
    const auto* bytes = reinterpret_cast<const unsigned char*>(list.data());
    const std::size_t count = bytes[0] | (bytes[1] << 8);
    std::size_t offset = 2 + count * 2;
    if (offset > list.size()) return members;
    for (std::size_t i = 0; i < count && offset <= list.size(); ++i) {
        const std::size_t length = bytes[2 + i * 2] | (bytes[3 + i * 2] << 8);
        members.push_back(list.substr(offset, length));
        offset += length;
    }
    return members;
}

std::vector<std::string> SplitPackedTexts(const char* texts, std::uint16_t count) {
    std::vector<std::string> split;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (texts == nullptr) {
            split.emplace_back();
            continue;
        }
        split.emplace_back(texts);
        texts += split.back().size() + 1;
    }
    return split;
}

STATUS BuildLookupBuffer(const SimDatabase& directory, const std::string& fileName,
                         const LookupRequest& request, std::string& buffer) {
    for (const std::string& item : request.items) {
        if (item.size() > 0xFFFF) return Diagnose(kStatusValueTooLong, "Item name too long");
    }
    std::vector<const SimView*> views;
    for (const std::string& nameSpace : request.nameSpaces) {
        const SimView* view = directory.FindView(nameSpace);
        if (view == nullptr) {
            return Diagnose(kStatusNoSuchNameSpace, "Cannot find the specified view: " +
                                                        LibraryTextToUtf8(nameSpace) + " in " +
                                                        fileName);
        }
        views.push_back(view);
    }
    buffer.assign(kLookupHeaderSize, '\0');
    for (const std::string& name : request.names) {
        const std::size_t start = buffer.size();
        buffer.append(kLookupNameHeaderSize, '\0');
        std::size_t matches = 0;
        for (const SimView* view : views) {
            for (const SimViewEntry& entry : view->entries) {
                const SimNote* note = directory.FindNote(entry.id);
                if ((entry.id & notesapi::NOTEID_CATEGORY) != 0 || note == nullptr) continue;
                const bool all = name.empty() && (request.flags & kLookupAll) != 0;
                if (!all && (name.empty() || !NoteMatches(*note, name))) continue;
                AppendMatch(*note, request.items, buffer);
                ++matches;
            }
        }
        if (matches > 0xFFFF || buffer.size() > 0xFFFFFFFFu) {
            // ERR_NAMELOOKUP_TOO_BIG
            return Diagnose(0x0355, "Too many entries match the lookup in " + fileName);
        }
        PutWord(buffer, start, static_cast<std::uint32_t>(buffer.size() - start), 4);
        PutWord(buffer, start + 4, static_cast<std::uint32_t>(matches), 2);
    }
    PutWord(buffer, 0, static_cast<std::uint32_t>(buffer.size()), 4);
    PutWord(buffer, 4, static_cast<std::uint32_t>(request.names.size()), 2);
    return 0;
}

std::uint32_t ReadLookupLength(const void* record) {
    std::uint32_t length = 0;
    const auto* bytes = static_cast<const unsigned char*>(record);
    for (int i = 3; i >= 0; --i) length = (length << 8) | bytes[i];
    return length;
}

std::uint16_t ReadLookupCount(const void* record) {
    const auto* bytes = static_cast<const unsigned char*>(record);
    return static_cast<std::uint16_t>(bytes[4] | (bytes[5] << 8));
}

}  // namespace notessim
