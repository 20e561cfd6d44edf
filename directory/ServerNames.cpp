#include "directory/ServerNames.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "directory/LockedMemory.h"
#include "notes/NotesStatuses.h"
#include "platform/StopRequest.h"

namespace directory {
namespace {

constexpr std::uint16_t kNameBytes = 255;  // a name buffer is one byte larger
using NameBuffer = char[kNameBytes + 1];
// A value is read with room for one byte more than a name holds, so that one the library would
// have to cut shows as too long instead of passing for another, shorter name.
using ValueBuffer = char[kNameBytes + 2];
constexpr std::uint32_t kLineBytes = 1023;
constexpr std::uint16_t kLookupAll = 1;
constexpr char kDirectoryFile[] = "names.nsf";

// Ordered by unsigned byte comparison (std::char_traits<char> compares as unsigned char), a
// prefix first; names that differ in letter case are different names.
using ServerNameSet = std::set<std::string>;

struct LookupRow {
    const char* server;
    const char* nameSpace;
    const char* item;
};

notes::NotesStatus Abbreviate(const char* name, NameBuffer& converted) {
    return notes::ConvertName(0, nullptr, name, converted, sizeof converted, nullptr);
}

// A name read into `value` that a name buffer cannot hold.
bool TooLong(const ValueBuffer& value) { return std::strlen(value) > kNameBytes; }

// `value` is reused for every item value read. The name record and each match the library finds
// must lie inside the lookup's buffer, and there must be one for every match it counts: a lookup
// read in part would leave servers out of a list that looks complete.
notes::NotesStatus CollectLookupRow(const LookupRow& row, ValueBuffer& value,
                                    ServerNameSet& names) {
    // The library looks in the directory of the server: that path must fit as any other.
    if (!notes::NetworkPathFits(row.server, kDirectoryFile)) return notes::kStatusPathTooLong;
    notes::MemoryHandle handle = 0;
    if (const auto status = notes::LookupNames(row.server, kLookupAll, 1, row.nameSpace, 1, "", 1,
                                               row.item, &handle);
        status != 0) {
        return status;
    }
    const LockedMemory lookup(handle);
    if (lookup.status() != 0) return lookup.status();
    std::uint16_t count = 0;
    const void* name = notes::FirstLookupName(lookup.Data(), nullptr, &count);
    if (!lookup.Holds(name, 1)) return notes::kStatusLookupFailed;
    const void* match = nullptr;
    for (std::uint16_t i = 0; i < count; ++i) {
        match = notes::NextNameMatch(lookup.Data(), name, match);
        if (!lookup.Holds(match, 1)) return notes::kStatusLookupFailed;
        value[0] = '\0';
        // A match whose item has no value reads as empty text and is skipped below.
        notes::GetMatchItemText(match, 0, 0, value, sizeof value);
        if (TooLong(value)) return notes::kStatusNameTooLong;
        NameBuffer converted = {};
        if (const auto status = Abbreviate(value, converted); status != 0) return status;
        if (converted[0] != '\0') names.insert(converted);
    }
    return 0;
}

// A name's line as written: UTF-8, one line whatever the name holds, since a control character
// (a line end above all) becomes a space, as in the run log. Two names may give the same line.
std::string ServerLine(const std::string& name) {
    char line[kLineBytes + 1];
    const std::uint32_t length =
        notes::TranslateText(notes::kTranslateLmbcsToUtf8, name.data(),
                             static_cast<std::uint32_t>(name.size()), line, kLineBytes);
    std::string text(line, std::min(length, kLineBytes));
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20; };
    std::replace_if(text.begin(), text.end(), control, ' ');
    return text;
}

// The lines are sorted and made unique as written, so the file is in byte order of its lines
// and holds no line twice, whatever encodings of one name the library gave.
notes::NotesStatus WriteServerNames(const ServerNameSet& names, std::FILE* output) {
    std::set<std::string> lines;
    for (const std::string& name : names) lines.insert(ServerLine(name));
    for (std::string line : lines) {
        line += '\n';
        if (std::fwrite(line.data(), 1, line.size(), output) != line.size() ||
            std::fflush(output) != 0) {
            return notes::kStatusIoError;
        }
    }
    return 0;
}

}  // namespace

notes::NotesStatus CollectServerNames(std::FILE* output) {
    ValueBuffer mailServer = {};
    if (!notes::GetEnvironmentText("MailServer", mailServer, kNameBytes + 1)) {
        return notes::kStatusNoMailServer;
    }
    if (TooLong(mailServer)) return notes::kStatusNameTooLong;
    NameBuffer mailServerName;
    std::memcpy(mailServerName, mailServer, sizeof mailServerName);

    ServerNameSet names;
    NameBuffer converted = {};
    if (const auto status = Abbreviate(mailServer, converted); status != 0) return status;
    names.insert(converted);  // even when empty: it stands first, as an empty line

    const LookupRow rows[] = {
        {nullptr, "$Connections", "Destination"},
        {mailServerName, "($Servers)", "ServerName"},
    };
    for (const LookupRow& row : rows) {
        if (const auto status = CollectLookupRow(row, mailServer, names); status != 0) {
            return status;
        }
    }
    // Stopped on request before the list is written: it stays empty, as after a failure.
    if (platform::StopRequested()) return notes::kStatusStopped;
    return WriteServerNames(names, output);
}

}  // namespace directory
