// The runtime's activity stream reader on arbitrary file content: opening and scanning the
// stream of log.nsf gives records or a status, never a crash. Every record it delivers carries a
// well-formed item table, which then goes through HandleActivityRecord as in a real scan. No
// handle stays open and nothing is misused.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/LittleEndian.h"
#include "logscan/ActivityRecordHandler.h"
#include "logscan/ActivityScanContext.h"
#include "notes/NotesPlatform.h"
#include "notes/NotesStatuses.h"
#include "notessim/SimControl.h"

namespace {

constexpr char kTypeFilter[] = "Domino.NOTES.Database|Domino.HTTP|Domino.AGENT";

using fuzz::Word;

// The runtime's tables hold exactly their items: header, descriptors, names and values.
void CheckTable(const void* itemTable) {
    const auto* table = static_cast<const unsigned char*>(itemTable);
    const std::size_t count = Word(table + 2);
    std::size_t total = notes::kItemTableHeaderSize + count * notes::kItemDescriptorSize;
    for (std::size_t i = 0; i < count; ++i) {
        const unsigned char* descriptor =
            table + notes::kItemTableHeaderSize + i * notes::kItemDescriptorSize;
        if (Word(descriptor + 2) < 2) __builtin_trap();  // every value holds its type word
        total += Word(descriptor) + Word(descriptor + 2);
    }
    if (total != Word(table)) __builtin_trap();
}

notes::NotesStatus CheckAndHandle(const char* eventType, std::uint32_t reserved1,
                                  std::uint32_t reserved2, const void* reserved3,
                                  const notes::TimeDate* eventTime, const void* itemTable,
                                  void* context) {
    if (eventType == nullptr || eventTime == nullptr || itemTable == nullptr) __builtin_trap();
    CheckTable(itemTable);
    return logscan::HandleActivityRecord(eventType, reserved1, reserved2, reserved3, eventTime,
                                         itemTable, context);
}

std::FILE* NullOutput() {
    static std::FILE* output = std::fopen("/dev/null", "w");
    return output;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    notessim::ResetRuntime();
    notessim::SetVirtualFile("fuzz/notes.ini", "[Notes]\nDirectory=.\n");
    notessim::SetVirtualFile("fuzz/log.nsf.activity.jsonl",
                             std::string(reinterpret_cast<const char*>(data), size));
    char program[] = "fuzz";
    char ini[] = "=fuzz/notes.ini";
    char* arguments[] = {program, ini, nullptr};
    if (notes::InitializeNotes(2, arguments) != 0) __builtin_trap();

    notes::TimeDate range[2];
    notes::SetTimeLimit(0, &range[0]);
    notes::SetTimeLimit(1, &range[1]);
    notes::ActivityStreamHandle stream = 0;
    if (notes::OpenActivityStream(&stream, "", "log.nsf", kTypeFilter, 0, range) != 0) {
        __builtin_trap();
    }
    logscan::ActivityScanContext context;
    context.output = NullOutput();
    context.recordLimit = size % 7;  // sometimes no limit, sometimes a stop part-way
    const notes::NotesStatus status =
        notes::ScanActivityStream(stream, CheckAndHandle, &context, 0, 0);
    if (status == notes::kStatusStopped && context.recordLimit == 0) __builtin_trap();
    notes::CloseActivityStream(stream);
    notes::TerminateNotes();
    if (!notessim::OpenHandles().empty() || !notessim::HandleMisuses().empty()) __builtin_trap();
    notessim::ResetRuntime();
    return 0;
}
