// HandleActivityRecord on arbitrary records: any event type, time, item table and stop-rule
// state. The item table is allocated to exactly the length its first field claims, so a read
// outside the record shows under AddressSanitizer. The stop rule and the row's shape are checked
// against a plain reading of their rules.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "logscan/ActivityItems.h"
#include "logscan/ActivityRecordHandler.h"
#include "logscan/ActivityScanContext.h"
#include "notes/NotesStatuses.h"

namespace {

class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }
    std::uint32_t Word32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
        return value;
    }
    std::string Text(std::size_t most) {
        std::string text;
        while (text.size() < most && position_ < size_ && data_[position_] != 0) {
            text += static_cast<char>(Byte());
        }
        Byte();  // the terminator
        return text;
    }
    std::vector<unsigned char> Rest() {
        std::vector<unsigned char> rest(data_ + position_, data_ + size_);
        position_ = size_;
        return rest;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

std::string EventType(InputReader& input) {
    switch (input.Byte() % 6) {
        case 0: return "Domino.NOTES.Database";
        case 1: return "Domino.HTTP";
        case 2: return "Domino.AGENT";
        case 3: return "Domino.REPLICATION";
        case 4: return "domino.http";
        default: return input.Text(32);
    }
}

// Splits a row at the commas outside quotes; false when it is not one line-feed-ended row.
bool SplitRow(std::string_view row, std::vector<std::string>& fields) {
    if (row.empty() || row.back() != '\n') return false;
    bool quoted = false;
    std::string field;
    for (const char c : row.substr(0, row.size() - 1)) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return !quoted;
}

const char* const* RequiredItems(const std::string& type) {
    static const char* const database[] = {"DatabaseName", "UserName"};
    static const char* const http[] = {"RequestLine", "AuthUser"};
    static const char* const agent[] = {"TaskName", "UserName"};
    if (type == "Domino.NOTES.Database") return database;
    if (type == "Domino.HTTP") return http;
    if (type == "Domino.AGENT") return agent;
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputReader input(data, size);
    const std::string type = EventType(input);
    notes::TimeDate time{};
    time.innards[0] = input.Word32();
    time.innards[1] = input.Word32();
    char timeText[32];
    std::snprintf(timeText, sizeof timeText, "%08X%08X", time.innards[1], time.innards[0]);

    logscan::ActivityScanContext context;
    context.recordLimit = static_cast<std::int8_t>(input.Byte());
    const std::uint8_t seen = input.Byte();
    context.recordsSeen =
        (seen & 0x80) != 0 ? std::numeric_limits<std::int32_t>::max() - (seen & 7) : seen;
    const std::uint8_t stop = input.Byte() % 3;
    if (stop == 1) std::memcpy(context.stopTime, timeText, 17);
    if (stop == 2) std::memcpy(context.stopTime, "0123456789ABCDEF", 17);
    const bool noTable = (input.Byte() & 0x0F) == 0x0F;

    // The record, allocated to exactly the length it claims (its first field), at least that field.
    std::vector<unsigned char> bytes = input.Rest();
    if (bytes.size() < 2) bytes.resize(2, 0);
    const std::size_t claimed = bytes[0] | (bytes[1] << 8);
    const std::size_t allocated = claimed < 2 ? 2 : claimed;
    auto* table = static_cast<unsigned char*>(std::malloc(allocated));
    std::memset(table, 0, allocated);
    std::memcpy(table, bytes.data(), bytes.size() < allocated ? bytes.size() : allocated);

    char* row = nullptr;
    std::size_t rowSize = 0;
    context.output = open_memstream(&row, &rowSize);
    if (context.output == nullptr) __builtin_trap();

    const logscan::ActivityScanContext before = context;
    const notes::NotesStatus status = logscan::HandleActivityRecord(
        type.c_str(), 0, 0, nullptr, &time, noTable ? nullptr : table, &context);
    std::fclose(context.output);

    // The stop rule, read plainly.
    const std::int32_t seenNow = before.recordsSeen < std::numeric_limits<std::int32_t>::max()
                                     ? before.recordsSeen + 1
                                     : before.recordsSeen;
    bool stopped = false;
    std::string stopTime = before.stopTime;
    if (before.recordLimit > 0 && seenNow >= before.recordLimit) {
        if (stopTime.empty()) {
            stopTime = timeText;
        } else {
            stopped = stopTime != timeText;
        }
    }
    if (context.recordsSeen != seenNow || stopTime != context.stopTime) __builtin_trap();
    if (status != (stopped ? notes::kStatusStopped : 0)) __builtin_trap();

    // The row: present exactly for a known type whose two required items are in the record.
    const logscan::ActivityItemMap items = logscan::ReadActivityItems(noTable ? nullptr : table);
    const char* const* required = RequiredItems(type);
    const bool rowDue = !stopped && required != nullptr && items.contains(required[0]) &&
                        items.contains(required[1]);
    const std::string_view written(row, rowSize);
    if (written.empty() == rowDue) __builtin_trap();
    if (rowDue) {
        std::vector<std::string> fields;
        const std::size_t expected = type == "Domino.NOTES.Database" ? 12 : 11;
        if (!SplitRow(written, fields) || fields.size() != expected || !fields[0].empty() ||
            fields[5] != type || fields[6] != timeText) {
            __builtin_trap();
        }
    }
    std::free(row);
    std::free(table);
    return 0;
}
