// Name lookups in a server's directory: LookupNames and reading its buffer.
#include <memory>

#include "notes/NotesPlatform.h"
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

notes::NotesStatus ReadDirectory(const char* server, std::shared_ptr<const SimDatabase>& directory,
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
        SetStatusDetail(kStatusBadNamesDatabase,
                        "Unable to open the directory names.nsf on " + serverText);
        return kStatusBadNamesDatabase;
    }
    notes::NotesStatus status = 0;
    directory = ParseDatabase(*content, file, status);
    if (directory) ClaimMemory(directory->MemoryBytes());
    return status;
}

std::uint16_t ReadWord(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace
}  // namespace notessim

namespace notes {

using namespace notessim;

NotesStatus LookupNames(const char* server, std::uint16_t flags, std::uint16_t nameSpaceCount,
                        const char* nameSpaces, std::uint16_t nameCount, const char* names,
                        std::uint16_t itemCount, const char* items, MemoryHandle* lookup) {
    SIM_FAULT_POINT("LookupNames");
    if (const NotesStatus status = RequireInitialized(); status != 0) return status;
    std::shared_ptr<const SimDatabase> directory;
    std::filesystem::path file;
    if (const NotesStatus status = ReadDirectory(server, directory, file); status != 0) {
        return status;
    }
    const LookupRequest request{flags, SplitPackedTexts(nameSpaces, nameSpaceCount),
                                SplitPackedTexts(names, nameCount),
                                SplitPackedTexts(items, itemCount)};
    std::string bytes;
    if (const NotesStatus status = BuildLookupBuffer(*directory, PathToUtf8(file), request, bytes);
        status != 0) {
        return status;
    }
    auto memory = std::make_unique<MemoryBuffer>();
    memory->bytes.assign(bytes.begin(), bytes.end());
    *lookup = RegisterHandle(HandleKind::memory, std::move(memory));
    return 0;
}

const void* FirstLookupName(const void* lookup, const void* previousName,
                            std::uint16_t* matchCount) {
    if (matchCount != nullptr) *matchCount = 0;
    if (lookup == nullptr) return nullptr;
    const auto* start = static_cast<const unsigned char*>(lookup);
    const unsigned char* end = start + ReadLookupLength(lookup);
    const unsigned char* name =
        previousName == nullptr
            ? start + kLookupHeaderSize
            : static_cast<const unsigned char*>(previousName) + ReadLookupLength(previousName);
    if (name + kLookupNameHeaderSize > end) return nullptr;
    if (matchCount != nullptr) *matchCount = ReadLookupCount(name);
    return name;
}

const void* NextNameMatch(const void* /*lookup*/, const void* name, const void* previousMatch) {
    if (name == nullptr) return nullptr;
    const auto* record = static_cast<const unsigned char*>(name);
    const unsigned char* end = record + ReadLookupLength(name);
    const unsigned char* match =
        previousMatch == nullptr
            ? record + kLookupNameHeaderSize
            : static_cast<const unsigned char*>(previousMatch) + ReadLookupLength(previousMatch);
    return match + kLookupMatchHeaderSize > end ? nullptr : match;
}

// Gives value `value` of item `item` (0-based) of a match as NUL-terminated text; `bufferSize`
// counts the terminator. Only text and text-list values are text.
NotesStatus GetMatchItemText(const void* match, std::uint16_t item, std::uint16_t value,
                             char* buffer, std::uint16_t bufferSize) {
    SIM_FAULT_POINT("GetMatchItemText");
    if (buffer != nullptr && bufferSize > 0) buffer[0] = '\0';
    if (match == nullptr || item >= ReadLookupCount(match)) return kStatusItemNotFound;
    const auto* record = static_cast<const unsigned char*>(match);
    std::size_t offset = kLookupMatchHeaderSize + ReadLookupCount(match) * kLookupItemDescriptorSize;
    for (std::uint16_t i = 0; i < item; ++i) {
        offset += ReadWord(record + kLookupMatchHeaderSize + i * kLookupItemDescriptorSize + 2);
    }
    const unsigned char* descriptor = record + kLookupMatchHeaderSize + item * kLookupItemDescriptorSize;
    const std::uint16_t type = ReadWord(descriptor);
    const std::string_view bytes(reinterpret_cast<const char*>(record + offset), ReadWord(descriptor + 2));
    std::string_view text;
    if (type == kTypeText && value == 0) {
        text = bytes;
    } else if (type == kTypeTextList) {
        const std::vector<std::string_view> members = ListMembers(bytes);
        if (value >= members.size()) return kStatusNotInList;
        text = members[value];
    } else {
        return kStatusItemNotFound;
    }
    if (buffer != nullptr && bufferSize > 0) CopyLibraryText(text, buffer, bufferSize - 1u);
    return 0;
}

}  // namespace notes
