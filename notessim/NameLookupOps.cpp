// Name lookups in a server's directory: LookupNames and reading its buffer.
#include <memory>

#include "notessim/ApiEdge.h"
#include "notessim/Faults.h"
#include "notessim/Files.h"
#include "notessim/Handles.h"
#include "notessim/NameLookup.h"
#include "notessim/PathText.h"
#include "notessim/Runtime.h"
#include "notessim/Servers.h"
#include "notessim/Statuses.h"
#include "notessim/TextCopy.h"

namespace notessim {
namespace {

constexpr std::string_view kDirectoryFile = "names.nsf";

STATUS ReadDirectory(const char* server, std::shared_ptr<const SimDatabase>& directory,
                     std::filesystem::path& file) {
    ServerLocation location;
    if (const auto status = LocateServer(server == nullptr ? "" : server, location); status != 0) {
        return status;
    }
    const std::string serverText =
        location.canonicalName.empty() ? "the local machine" : LibraryTextToUtf8(location.canonicalName);
    const auto content = LocateDatabaseFile(location, kDirectoryFile, file) == 0
                             ? ReadWholeFile(file)
                             : std::nullopt;
    if (!content) {
        return Diagnose(kStatusNoNamesFile,
                        "Unable to open the directory names.nsf on " + serverText);
    }
    STATUS status = 0;
    directory = ParseDatabase(*content, file, status);
    if (directory) ClaimMemory(directory->MemoryBytes());
    return status;
}

std::uint16_t ReadWord(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace
}  // namespace notessim

using namespace notessim;

STATUS LNPUBLIC NAMELookup2(const char* server, DWORD flags, WORD nameSpaceCount,
                            const char* nameSpaces, WORD nameCount, const char* names,
                            WORD itemCount, const char* items, DHANDLE* retBuffer) try {
    STATUS refused = 0;
    if (!FitsWord(flags, "NAMELookup2", "flags", refused)) return refused;
    SIM_FAULT_POINT("LookupNames");
    if (const STATUS status = RequireInitialized(); status != 0) return status;
    std::shared_ptr<const SimDatabase> directory;
    std::filesystem::path file;
    if (const STATUS status = ReadDirectory(server, directory, file); status != 0) return status;
    const LookupRequest request{
        static_cast<WORD>(flags), SplitPackedTexts(nameSpaces, nameSpaceCount),
        SplitPackedTexts(names, nameCount), SplitPackedTexts(items, itemCount)};
    std::string bytes;
    if (const STATUS status = BuildLookupBuffer(*directory, PathToUtf8(file), request, bytes);
        status != 0) {
        return status;
    }
    *retBuffer = RegisterBuffer(bytes);
    return 0;
} catch (...) {
    return CaughtException("NAMELookup2");
}

void* LNPUBLIC NAMELocateNextName2(void* lookup, void* previousName, DWORD* retMatchCount) try {
    if (retMatchCount != nullptr) *retMatchCount = 0;
    if (lookup == nullptr) return nullptr;
    auto* start = static_cast<unsigned char*>(lookup);
    const unsigned char* end = start + ReadLookupLength(lookup);
    unsigned char* name =
        previousName == nullptr
            ? start + kLookupHeaderSize
            : static_cast<unsigned char*>(previousName) + ReadLookupLength(previousName);
    if (name + kLookupNameHeaderSize > end) return nullptr;
    if (retMatchCount != nullptr) *retMatchCount = ReadLookupCount(name);
    return name;
} catch (...) {
    CaughtException("NAMELocateNextName2");
    return nullptr;
}

// The reference warns that a real library does not return NULL after the last match: callers
// count. With extended delivery the last match comes again.
void* LNPUBLIC NAMELocateNextMatch2(void* /*lookup*/, void* name, void* previousMatch) try {
    if (name == nullptr) return nullptr;
    auto* record = static_cast<unsigned char*>(name);
    const unsigned char* end = record + ReadLookupLength(name);
    unsigned char* match =
        previousMatch == nullptr
            ? record + kLookupNameHeaderSize
            : static_cast<unsigned char*>(previousMatch) + ReadLookupLength(previousMatch);
    if (match + kLookupMatchHeaderSize <= end) return match;
    return previousMatch != nullptr && ExtendedDelivery() ? previousMatch : nullptr;
} catch (...) {
    CaughtException("NAMELocateNextMatch2");
    return nullptr;
}

// Gives member `member` of item `item` (0-based) of a match as NUL-terminated text;
// `bufferLength` is the buffer's size, so the text is cut to leave room for its NUL. Only text
// and text-list values are text. The statuses are the reference's: ERR_NO_SUCH_ITEM when the
// match has no such item, ERR_NO_MORE_MEMBERS past the last member, and for an item that is not
// text the directory's ERR_UNSUPPORTED_TYPE.
STATUS LNPUBLIC NAMEGetTextItem2(void* match, WORD item, WORD member, char* buffer,
                                 WORD bufferLength) try {
    SIM_FAULT_POINT("GetMatchItemText");
    if (buffer != nullptr && bufferLength > 0) buffer[0] = '\0';
    if (match == nullptr || item >= ReadLookupCount(match)) return kStatusNoSuchItem;
    const auto* record = static_cast<const unsigned char*>(match);
    std::size_t offset = kLookupMatchHeaderSize + ReadLookupCount(match) * kLookupItemDescriptorSize;
    for (WORD i = 0; i < item; ++i) {
        offset += ReadWord(record + kLookupMatchHeaderSize + i * kLookupItemDescriptorSize + 2);
    }
    const unsigned char* descriptor = record + kLookupMatchHeaderSize + item * kLookupItemDescriptorSize;
    const WORD type = ReadWord(descriptor);
    if (type == 0) return kStatusNoSuchItem;  // the note lacks the item
    const std::string_view bytes(reinterpret_cast<const char*>(record + offset), ReadWord(descriptor + 2));
    std::string_view text;
    if (type == notesapi::TYPE_TEXT && member == 0) {
        text = bytes;
    } else if (type == notesapi::TYPE_TEXT_LIST) {
        const std::vector<std::string_view> members = ListMembers(bytes);
        if (member >= members.size()) return kStatusNoMoreMembers;
        text = members[member];
    } else if (type == notesapi::TYPE_TEXT) {
        return kStatusNoMoreMembers;
    } else {
        return kStatusUnsupportedType;
    }
    if (buffer != nullptr && bufferLength > 0) CopyLibraryText(text, buffer, bufferLength - 1u);
    return 0;
} catch (...) {
    return CaughtException("NAMEGetTextItem2");
}
