// The buffer that LookupNames hands out, and the search that fills it.
//
// Layout (little-endian): header {uint32 total length, uint16 name count, uint16 0}; per looked-up
// name a record {uint32 record length counting its matches, uint16 match count, uint16 0}
// followed by its matches; per match {uint32 match length, uint16 item count, uint16 0}, then per
// item {uint16 data type, uint16 value length}, then the value bytes (type 0 and no bytes when
// the note lacks the item).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "notessim/CTypes.h"
#include "notessim/Database.h"

namespace notessim {

constexpr std::size_t kLookupHeaderSize = 8;
constexpr std::size_t kLookupNameHeaderSize = 8;
constexpr std::size_t kLookupMatchHeaderSize = 8;
constexpr std::size_t kLookupItemDescriptorSize = 4;
constexpr std::uint16_t kLookupAll = 0x0001;

struct LookupRequest {
    std::uint16_t flags = 0;
    std::vector<std::string> nameSpaces;  // view names
    std::vector<std::string> names;
    std::vector<std::string> items;
};

// `count` NUL-terminated texts stored one after the other (null: `count` empty texts).
std::vector<std::string> SplitPackedTexts(const char* texts, std::uint16_t count);

// The members of a text list value (count, lengths, texts); a member cut by the end is shortened.
std::vector<std::string_view> ListMembers(std::string_view list);

// Searches `directory` and builds the buffer; a missing view or too many matches is a status.
STATUS BuildLookupBuffer(const SimDatabase& directory, const std::string& fileName,
                         const LookupRequest& request, std::string& buffer);

std::uint32_t ReadLookupLength(const void* record);
std::uint16_t ReadLookupCount(const void* record);

}  // namespace notessim
