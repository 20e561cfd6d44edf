#include "logscan/ActivityItems.h"

#include <algorithm>
#include <cstring>

#include "notes/NotesPlatform.h"

namespace logscan {
namespace {

constexpr std::uint32_t kTextBufferSize = 65536;
constexpr std::uint16_t kNumberBufferSize = 40;

std::size_t Word(const unsigned char* at) { return static_cast<std::size_t>(at[0] | (at[1] << 8)); }

std::string TextValue(const unsigned char* data, std::size_t length) {
    if (length == 0) return "NULL";
    char buffer[kTextBufferSize];
    const std::uint32_t written =
        notes::TranslateText(notes::kTranslateLmbcsToUtf8, data, static_cast<std::uint32_t>(length),
                             buffer, kTextBufferSize - 1);
    return std::string(buffer, std::min<std::uint32_t>(written, kTextBufferSize - 1));
}

std::string NumberValue(const unsigned char* data) {
    double number = 0;
    std::memcpy(&number, data, sizeof number);
    char buffer[kNumberBufferSize];
    std::uint16_t length = 0;
    notes::NumberToText(nullptr, nullptr, &number, buffer, kNumberBufferSize, &length);
    return std::string(buffer, std::min(length, kNumberBufferSize));
}

// `value` starts with its 16-bit data type; a value too short for its type is not converted.
std::string ValueText(const unsigned char* value, std::size_t length) {
    if (length >= 2) {
        const std::size_t type = Word(value);
        if (type == notes::kTypeText) return TextValue(value + 2, length - 2);
        if (type == notes::kTypeNumber && length - 2 >= sizeof(double)) return NumberValue(value + 2);
    }
    return "-not text-";
}

}  // namespace

ActivityItemMap ReadActivityItems(const void* itemTable) {
    ActivityItemMap items;
    if (itemTable == nullptr) return items;
    const auto* table = static_cast<const unsigned char*>(itemTable);
    const std::size_t total = Word(table);
    if (total < notes::kItemTableHeaderSize) return items;
    const std::size_t count = Word(table + 2);
    std::size_t position = notes::kItemTableHeaderSize + count * notes::kItemDescriptorSize;
    if (position > total) return items;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* descriptor =
            table + notes::kItemTableHeaderSize + i * notes::kItemDescriptorSize;
        const std::size_t nameLength = Word(descriptor);
        const std::size_t valueLength = Word(descriptor + 2);
        if (nameLength + valueLength > total - position) break;
        std::string name(reinterpret_cast<const char*>(table + position), nameLength);
        const unsigned char* value = table + position + nameLength;
        position += nameLength + valueLength;
        if (name.empty() || items.contains(name)) continue;
        items.emplace(std::move(name), ValueText(value, valueLength));
    }
    return items;
}

}  // namespace logscan
